#include "qtshared/accessibility_guard.h"

#include <dbus/dbus.h>
#include <dlfcn.h>
#include <QVersionNumber>
#include <QtGlobal>
#include <atomic>
#include <string>
#include <string_view>

#include "qtshared/accessibility_calls.h"

namespace vorlanex::qtshared {

namespace {

using accessibility::Bridge;

// Every accessible object of the bridge lives under this path.
constexpr std::string_view kAccessiblePaths = "/org/a11y/atspi/accessible";
// The first Qt whose bridge declares more than the table and reads only the arguments a
// Properties call has.
const QVersionNumber kFirstLaterBridge(6, 5, 0);

std::atomic<bool> armed{false};
std::atomic<Bridge> bridge{Bridge::qt_6_4};

bool addressed_to_accessible_object(const char* path) {
    if (path == nullptr) return false;
    const std::string_view object(path);
    return object.starts_with(kAccessiblePaths) &&
           (object.size() == kAccessiblePaths.size() || object[kAccessiblePaths.size()] == '/');
}

std::string_view view(const char* text) { return text == nullptr ? std::string_view() : std::string_view(text); }

// The verdict on a method call to an accessible object; for Properties.Get and Set of the right
// signature, with the interface and property they name and the type of Set's value.
accessibility::Verdict judge_message(DBusMessage* message) {
    accessibility::Call call{view(dbus_message_get_interface(message)), view(dbus_message_get_member(message)),
                             view(dbus_message_get_signature(message))};
    std::string value_type;
    if (call.interface == DBUS_INTERFACE_PROPERTIES &&
        ((call.member == "Get" && call.signature == "ss") || (call.member == "Set" && call.signature == "ssv"))) {
        DBusMessageIter arguments;
        const char* interface_name = nullptr;
        const char* property_name = nullptr;
        dbus_message_iter_init(message, &arguments);
        dbus_message_iter_get_basic(&arguments, &interface_name);
        dbus_message_iter_next(&arguments);
        dbus_message_iter_get_basic(&arguments, &property_name);
        call.property_interface = view(interface_name);
        call.property_name = view(property_name);
        if (call.member == "Set") {
            dbus_message_iter_next(&arguments);
            DBusMessageIter value;
            dbus_message_iter_recurse(&arguments, &value);
            if (char* type = dbus_message_iter_get_signature(&value)) {
                value_type = type;
                dbus_free(type);
            }
            call.value_type = value_type;
        }
    }
    return accessibility::judge(call, bridge.load());
}

DBusHandlerResult refuse_malformed_accessibility_call(DBusConnection* connection, DBusMessage* message, void*) {
    if (dbus_message_get_type(message) != DBUS_MESSAGE_TYPE_METHOD_CALL ||
        !addressed_to_accessible_object(dbus_message_get_path(message))) {
        return DBUS_HANDLER_RESULT_NOT_YET_HANDLED;
    }
    const accessibility::Verdict verdict = judge_message(message);
    if (verdict.kind == accessibility::Verdict::Kind::reaches_qt) return DBUS_HANDLER_RESULT_NOT_YET_HANDLED;
    if (!dbus_message_get_no_reply(message)) {
        if (DBusMessage* error =
                dbus_message_new_error(message, accessibility::error_name(verdict.kind), verdict.message.c_str())) {
            dbus_connection_send(connection, error, nullptr);
            dbus_message_unref(error);
        }
    }
    return DBUS_HANDLER_RESULT_HANDLED;
}

}  // namespace

void guard_accessibility_calls() {
    const bool later = QVersionNumber::fromString(QLatin1StringView(qVersion())) >= kFirstLaterBridge;
    bridge = later ? Bridge::later : Bridge::qt_6_4;
    armed = true;
}

}  // namespace vorlanex::qtshared

// Qt opens every D-Bus connection of its own, the accessibility bus's included, with this libdbus
// function; the dynamic linker binds Qt's call to this definition, which opens the connection with
// the library's own function and, when the guard is armed, puts the guard's filter first in line.
extern "C" DBusConnection* dbus_connection_open_private(const char* address, DBusError* error) {
    using Open = DBusConnection* (*)(const char*, DBusError*);
    static const auto library_open = reinterpret_cast<Open>(dlsym(RTLD_NEXT, "dbus_connection_open_private"));
    if (library_open == nullptr) {
        dbus_set_error_const(error, DBUS_ERROR_FAILED, "libdbus's dbus_connection_open_private was not found");
        return nullptr;
    }
    DBusConnection* connection = library_open(address, error);
    if (connection != nullptr && vorlanex::qtshared::armed) {
        dbus_connection_add_filter(connection, vorlanex::qtshared::refuse_malformed_accessibility_call, nullptr,
                                   nullptr);
    }
    return connection;
}
