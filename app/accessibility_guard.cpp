#include "app/accessibility_guard.h"

#include <QVersionNumber>
#include <QtGlobal>
#include <atomic>
#include <dbus/dbus.h>
#include <dlfcn.h>
#include <string_view>

namespace vorlanex::app {

namespace {

// Every accessible object of the bridge lives under this path.
constexpr std::string_view kAccessiblePaths = "/org/a11y/atspi/accessible";
// The first Qt whose bridge reads only the arguments a Properties call has.
const QVersionNumber kFirstSoundQt(6, 5, 0);

std::atomic<bool> armed{false};

// True when a Properties call on `path` with `argument_count` arguments would crash the flawed
// bridge: it is addressed to an accessible object and lacks the interface or the property name.
bool crashes_flawed_bridge(const char* path, int argument_count) {
    if (path == nullptr) return false;
    const std::string_view object(path);
    const bool accessible = object.starts_with(kAccessiblePaths) &&
                            (object.size() == kAccessiblePaths.size() || object[kAccessiblePaths.size()] == '/');
    return accessible && argument_count < 2;
}

int argument_count(DBusMessage* message) {
    DBusMessageIter iter;
    if (!dbus_message_iter_init(message, &iter)) return 0;
    int count = 1;
    while (count < 2 && dbus_message_iter_next(&iter)) ++count;
    return count;  // counted up to two: all the guard needs to know
}

DBusHandlerResult refuse_crashing_properties_call(DBusConnection* connection, DBusMessage* message, void*) {
    if (dbus_message_get_type(message) != DBUS_MESSAGE_TYPE_METHOD_CALL ||
        !dbus_message_has_interface(message, DBUS_INTERFACE_PROPERTIES) ||
        !crashes_flawed_bridge(dbus_message_get_path(message), argument_count(message))) {
        return DBUS_HANDLER_RESULT_NOT_YET_HANDLED;
    }
    if (!dbus_message_get_no_reply(message)) {
        if (DBusMessage* error = dbus_message_new_error(
                message, DBUS_ERROR_NOT_SUPPORTED, "Ask for each property with Get: this program does not answer GetAll")) {
            dbus_connection_send(connection, error, nullptr);
            dbus_message_unref(error);
        }
    }
    return DBUS_HANDLER_RESULT_HANDLED;
}

}  // namespace

bool guard_accessibility_properties_calls() {
    const bool flawed = QVersionNumber::fromString(QLatin1StringView(qVersion())) < kFirstSoundQt;
    armed = flawed;
    return flawed;
}

}  // namespace vorlanex::app

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
    if (connection != nullptr && vorlanex::app::armed) {
        dbus_connection_add_filter(connection, vorlanex::app::refuse_crashing_properties_call, nullptr, nullptr);
    }
    return connection;
}
