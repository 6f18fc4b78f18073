#pragma once
// What Qt's accessibility bridge declares on the accessibility bus, and the verdict on a call to one
// of its objects: whether the call may reach the bridge or must be answered with a D-Bus error first.
//
// The bridge of Qt 6.4 (and, for its methods, of every later Qt) reads a call's arguments by
// position without checking that they are there: GetChildAtIndex, GetExtents, GetText, DoAction,
// SetTextContents ... called without their arguments crash the program. It also serves
// org.freedesktop.DBus.Properties by turning Get and Set of a property into a call of
// "Get"/"Set" + the property's name, so Get of "RangeExtents" on the Text interface runs
// GetRangeExtents with Get's two strings as its arguments, and reads a third. The table below is the
// bridge's own declaration of every interface it dispatches (its Introspect answer, and the methods
// at-spi2-core declares that it answers besides), with the argument signature of each method and the
// type and access of each property. Pure standard C++: the guard (accessibility_guard.cpp) asks it,
// and so do the tests.
#include <span>
#include <string>
#include <string_view>

namespace vorlanex::qtshared::accessibility {

struct Method {
    std::string_view name;
    std::string_view arguments;  // the D-Bus signature of the arguments it takes ("" for none)
};

struct Property {
    std::string_view name;
    std::string_view type;  // D-Bus signature of its value
    bool writable;
};

struct Interface {
    std::string_view name;
    std::span<const Method> methods;
    std::span<const Property> properties;
};

// Every interface the bridge dispatches a call of, as Qt 6.4's bridge declares it, and
// org.freedesktop.DBus.Introspectable, which every object answers. org.freedesktop.DBus.Properties
// is judged by its own rules (the signatures D-Bus itself gives it) and libdbus answers
// org.freedesktop.DBus.Peer itself, before any filter.
std::span<const Interface> declared_interfaces();

// The interface named `name` in declared_interfaces(), or nullptr.
const Interface* find_interface(std::string_view name);

// Which bridge the program runs with. Qt 6.4's bridge declares exactly the table; a later one
// declares more (new methods, properties and interfaces) and reads the arguments Properties calls
// lack no more, but still reads its methods' arguments unchecked.
enum class Bridge {
    qt_6_4,  // a Qt before 6.5: everything the table does not declare is refused
    later,   // Qt 6.5 or later: the calls the table knows are checked, all others reach Qt
};

// A method call addressed to an accessible object.
struct Call {
    std::string_view interface;  // the call's interface ("" when it names none)
    std::string_view member;
    std::string_view signature;  // of its arguments
    // For org.freedesktop.DBus.Properties.Get and Set whose signature is right: the interface and
    // property they name, and for Set the signature of the value inside the variant.
    std::string_view property_interface = {};
    std::string_view property_name = {};
    std::string_view value_type = {};
};

struct Verdict {
    enum class Kind {
        reaches_qt,        // the call goes on to the bridge
        invalid_args,      // org.freedesktop.DBus.Error.InvalidArgs
        unknown_method,    // org.freedesktop.DBus.Error.UnknownMethod
        unknown_property,  // org.freedesktop.DBus.Error.UnknownProperty
        read_only,         // org.freedesktop.DBus.Error.PropertyReadOnly
        not_supported,     // org.freedesktop.DBus.Error.NotSupported
    };
    Kind kind = Kind::reaches_qt;
    std::string message;  // the error's text; empty when the call reaches Qt
};

// The D-Bus error name of a refusal (nullptr for reaches_qt).
const char* error_name(Verdict::Kind kind);

// Every message a refusal carries starts with this, so a client (and a test) tells the program's
// refusal from the bridge's own errors.
inline constexpr std::string_view kRefusalPrefix = "Refused before the accessibility bridge: ";

// The verdict on `call`. A call of a declared method reaches Qt when its signature is the declared
// one; Properties.Get and Set when their signatures are "ss" and "ssv" and they name a declared
// property (Set: a writable one, with a value of its type). Refused always: Properties.GetAll on
// Qt 6.4 (its bridge reads a second argument GetAll does not have), and a direct call of a writable
// property's setter (SetId, SetCurrentValue), which the bridge serves by reading the value where
// only Properties.Set carries it. Calls of interfaces the table does not know reach Qt unchanged.
Verdict judge(const Call& call, Bridge bridge);

}  // namespace vorlanex::qtshared::accessibility
