#pragma once
// A guard for the accessibility bridge of Qt 6.4, which reads the arguments of a call to an
// accessible object by position without checking that the call has them: GetChildAtIndex,
// GetExtents, GetText, DoAction, SetTextContents ... without their arguments, and
// org.freedesktop.DBus.Properties.GetAll (which lacks the property name the bridge reads), crash
// the program. Screen readers built on zbus and D-Bus inspectors call GetAll; anyone on the
// session can send the others.
//
// The guard is a libdbus message filter that holds every call to an accessible object against
// what the bridge declares (accessibility_calls.h) and answers a call that does not match, with
// D-Bus's error for invalid arguments (or for an unknown method or property), before Qt sees it;
// every well-formed call reaches Qt as before. libdbus runs a connection's filters in the order they
// were added, and Qt's own filter, added when Qt opens a connection, takes every method call; so the
// guard's filter is added as each connection is opened, through this program's own definition of
// dbus_connection_open_private, which calls the library's.

namespace vorlanex::qtshared {

// Arms the guard, for the Qt the program runs with: every Qt 6 reads its bridge's method arguments
// unchecked; with a Qt before 6.5, whose bridge the table describes, the guard also refuses what
// the table does not declare, GetAll included. Call it before the QApplication is created.
void guard_accessibility_calls();

}  // namespace vorlanex::qtshared
