#pragma once
// A guard for the accessibility bridge of Qt 6.4: its AT-SPI adaptor reads an interface name and a
// property name from every org.freedesktop.DBus.Properties call on an accessible object, but
// GetAll carries only the interface name, and the bridge then reads past the call's arguments and
// the program crashes. Screen readers built on zbus and D-Bus inspectors call GetAll.
//
// The guard is a libdbus message filter that answers such a call with an error before Qt sees it;
// a client can still ask for each property with Get, which the bridge answers. libdbus runs a
// connection's filters in the order they were added, and Qt's own filter, added when Qt opens a
// connection, takes every method call; so the guard's filter is added as each connection is
// opened, through this program's own definition of dbus_connection_open_private, which calls the
// library's.

namespace vorlanex::app {

// Arms the guard when the Qt the program runs with has the flaw (before 6.5). Call it before
// the QApplication is created. Returns true when armed.
bool guard_accessibility_properties_calls();

}  // namespace vorlanex::app
