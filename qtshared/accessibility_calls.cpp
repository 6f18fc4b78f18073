#include "qtshared/accessibility_calls.h"

#include <algorithm>
#include <array>
#include <initializer_list>

namespace vorlanex::qtshared::accessibility {

namespace {

// Qt 6.4's bridge declares these in its Introspect answer (AtSpiAdaptor::introspect), with the
// argument signatures below; the test accessibility_bus holds them against the running bridge's
// answer. Accessible.GetInterfaces is at-spi2-core's declaration (xml/Accessible.xml): the bridge
// answers it, libatspi calls it, but the bridge's own answer leaves it out.
// clang-format off
constexpr std::array kAccessibleMethods{
    Method{"GetChildAtIndex", "i"},     Method{"GetChildren", ""},   Method{"GetIndexInParent", ""},
    Method{"GetRelationSet", ""},       Method{"GetRole", ""},       Method{"GetRoleName", ""},
    Method{"GetLocalizedRoleName", ""}, Method{"GetState", ""},      Method{"GetAttributes", ""},
    Method{"GetApplication", ""},       Method{"GetInterfaces", ""},
};
// clang-format on
// clang-format off
constexpr std::array kAccessibleProperties{
    Property{"Name", "s", false},
    Property{"Description", "s", false},
    Property{"Parent", "(so)", false},
    Property{"ChildCount", "i", false},
};
// clang-format on

constexpr std::array kApplicationMethods{Method{"GetLocale", "u"}, Method{"GetApplicationBusAddress", ""}};
// clang-format off
constexpr std::array kApplicationProperties{
    Property{"ToolkitName", "s", false},
    Property{"Version", "s", false},
    Property{"Id", "i", true},
};
// clang-format on

// clang-format off
constexpr std::array kComponentMethods{
    Method{"Contains", "iiu"},    Method{"GetAccessibleAtPoint", "iiu"},
    Method{"GetExtents", "u"},    Method{"GetPosition", "u"},
    Method{"GetSize", ""},        Method{"GetLayer", ""},
    Method{"GetMDIZOrder", ""},   Method{"GrabFocus", ""},
    Method{"GetAlpha", ""},       Method{"SetExtents", "iiiiu"},
    Method{"SetPosition", "iiu"}, Method{"SetSize", "ii"},
};
// clang-format on

// clang-format off
constexpr std::array kActionMethods{
    Method{"GetDescription", "i"}, Method{"GetName", "i"},  Method{"GetKeyBinding", "i"},
    Method{"GetActions", ""},      Method{"DoAction", "i"},
};
// clang-format on
constexpr std::array kActionProperties{Property{"NActions", "i", false}};

// clang-format off
constexpr std::array kTextMethods{
    Method{"GetText", "ii"},
    Method{"SetCaretOffset", "i"},
    Method{"GetTextBeforeOffset", "iu"},
    Method{"GetTextAtOffset", "iu"},
    Method{"GetTextAfterOffset", "iu"},
    Method{"GetCharacterAtOffset", "i"},
    Method{"GetAttributeValue", "is"},
    Method{"GetAttributes", "i"},
    Method{"GetDefaultAttributes", ""},
    Method{"GetCharacterExtents", "iu"},
    Method{"GetOffsetAtPoint", "iiu"},
    Method{"GetNSelections", ""},
    Method{"GetSelection", "i"},
    Method{"AddSelection", "ii"},
    Method{"RemoveSelection", "i"},
    Method{"SetSelection", "iii"},
    Method{"GetRangeExtents", "iiu"},
    Method{"GetBoundedRanges", "iiiiuuu"},
    Method{"GetAttributeRun", "ib"},
    Method{"GetDefaultAttributeSet", ""},
};
// clang-format on
constexpr std::array kTextProperties{Property{"CharacterCount", "i", false}, Property{"CaretOffset", "i", false}};

// clang-format off
constexpr std::array kEditableTextMethods{
    Method{"SetTextContents", "s"}, Method{"InsertText", "isi"}, Method{"CopyText", "ii"},
    Method{"CutText", "ii"},        Method{"DeleteText", "ii"},  Method{"PasteText", "i"},
};
// clang-format on

// Table and Value are dispatched too, though no object of this window serves them (the bridge of
// Qt 6.4 declares them in its library, as it does the others).
// clang-format off
constexpr std::array kTableMethods{
    Method{"GetAccessibleAt", "ii"},      Method{"GetIndexAt", "ii"},
    Method{"GetRowAtIndex", "i"},         Method{"GetColumnAtIndex", "i"},
    Method{"GetRowDescription", "i"},     Method{"GetColumnDescription", "i"},
    Method{"GetRowExtentAt", "ii"},       Method{"GetColumnExtentAt", "ii"},
    Method{"GetRowHeader", "i"},          Method{"GetColumnHeader", "i"},
    Method{"GetSelectedRows", ""},        Method{"GetSelectedColumns", ""},
    Method{"IsRowSelected", "i"},         Method{"IsColumnSelected", "i"},
    Method{"IsSelected", "ii"},           Method{"AddRowSelection", "i"},
    Method{"AddColumnSelection", "i"},    Method{"RemoveRowSelection", "i"},
    Method{"RemoveColumnSelection", "i"}, Method{"GetRowColumnExtentsAtIndex", "i"},
};
// clang-format on
// clang-format off
constexpr std::array kTableProperties{
    Property{"NRows", "i", false},      Property{"NColumns", "i", false},      Property{"Caption", "(so)", false},
    Property{"Summary", "(so)", false}, Property{"NSelectedRows", "i", false}, Property{"NSelectedColumns", "i", false},
};
// clang-format on

constexpr std::array kValueMethods{Method{"SetCurrentValue", "d"}};
// clang-format off
constexpr std::array kValueProperties{
    Property{"MinimumValue", "d", false},
    Property{"MaximumValue", "d", false},
    Property{"MinimumIncrement", "d", false},
    Property{"CurrentValue", "d", true},
};
// clang-format on

constexpr std::array kIntrospectableMethods{Method{"Introspect", ""}};

// clang-format off
const std::array kInterfaces{
    Interface{"org.a11y.atspi.Accessible", kAccessibleMethods, kAccessibleProperties},
    Interface{"org.a11y.atspi.Application", kApplicationMethods, kApplicationProperties},
    Interface{"org.a11y.atspi.Component", kComponentMethods, {}},
    Interface{"org.a11y.atspi.Action", kActionMethods, kActionProperties},
    Interface{"org.a11y.atspi.Text", kTextMethods, kTextProperties},
    Interface{"org.a11y.atspi.EditableText", kEditableTextMethods, {}},
    Interface{"org.a11y.atspi.Table", kTableMethods, kTableProperties},
    Interface{"org.a11y.atspi.Value", kValueMethods, kValueProperties},
    Interface{"org.freedesktop.DBus.Introspectable", kIntrospectableMethods, {}},
};
// clang-format on

constexpr std::string_view kProperties = "org.freedesktop.DBus.Properties";

const Method* find_method(const Interface& interface, std::string_view name) {
    const auto found = std::ranges::find(interface.methods, name, &Method::name);
    return found == interface.methods.end() ? nullptr : &*found;
}

const Property* find_property(const Interface& interface, std::string_view name) {
    const auto found = std::ranges::find(interface.properties, name, &Property::name);
    return found == interface.properties.end() ? nullptr : &*found;
}

// The number of complete types in a valid D-Bus signature ("iu" 2, "a{ss}" 1, "(so)i" 2).
std::size_t complete_types(std::string_view signature) {
    std::size_t count = 0;
    int depth = 0;
    for (const char code : signature) {
        if (code == '(' || code == '{') {
            ++depth;
        } else if (code == ')' || code == '}') {
            --depth;
            if (depth == 0) ++count;
        } else if (code != 'a' && depth == 0) {
            ++count;
        }
    }
    return count;
}

// A refusal whose message is `parts` one after another (appended: GCC 12 warns wrongly on the
// operator+ of a literal and a temporary string).
Verdict refuse(Verdict::Kind kind, std::initializer_list<std::string_view> parts) {
    Verdict verdict{kind, std::string(kRefusalPrefix)};
    for (const std::string_view part : parts) verdict.message.append(part);
    return verdict;
}

Verdict wrong_arguments(std::string_view interface, std::string_view member, std::string_view declared,
                        std::string_view given) {
    return refuse(Verdict::Kind::invalid_args,
                  {interface, ".", member, " takes the arguments \"", declared, "\", not \"", given, "\""});
}

Verdict judge_properties(const Call& call, Bridge bridge) {
    std::string_view takes;
    if (call.member == "Get") {
        takes = "ss";
    } else if (call.member == "Set") {
        takes = "ssv";
    } else if (call.member == "GetAll") {
        takes = "s";
    } else if (bridge == Bridge::qt_6_4) {
        return refuse(Verdict::Kind::unknown_method, {kProperties, " has no method ", call.member});
    } else {
        return {};
    }
    if (call.signature != takes) return wrong_arguments(kProperties, call.member, takes, call.signature);
    if (call.member == "GetAll") {
        // Qt 6.4's bridge reads a property name from every Properties call; GetAll has none.
        if (bridge == Bridge::qt_6_4) {
            return refuse(Verdict::Kind::not_supported,
                          {"ask for each property with Get: this program does not answer GetAll"});
        }
        return {};
    }

    const Interface* interface = find_interface(call.property_interface);
    const Property* property = interface ? find_property(*interface, call.property_name) : nullptr;
    if (property == nullptr) {
        // A later bridge may declare more properties; refused only what it would serve as a method
        // that reads more arguments than the Properties call has.
        bool reaches_qt = bridge == Bridge::later;
        if (reaches_qt && interface != nullptr) {
            std::string as_method(call.member);
            as_method.append(call.property_name);
            const Method* method = find_method(*interface, as_method);
            reaches_qt = method == nullptr || complete_types(method->arguments) <= complete_types(call.signature);
        }
        if (reaches_qt) return {};
        return refuse(Verdict::Kind::unknown_property,
                      {call.property_interface, " has no property ", call.property_name});
    }
    if (call.member == "Set") {
        if (!property->writable) {
            return refuse(Verdict::Kind::read_only,
                          {call.property_interface, ".", call.property_name, " cannot be set"});
        }
        if (call.value_type != property->type) {
            return refuse(Verdict::Kind::invalid_args,
                          {call.property_interface, ".", call.property_name, " is of type \"", property->type,
                           "\", not \"", call.value_type, "\""});
        }
    }
    return {};
}

}  // namespace

std::span<const Interface> declared_interfaces() { return kInterfaces; }

const Interface* find_interface(std::string_view name) {
    const auto found = std::ranges::find(kInterfaces, name, &Interface::name);
    return found == kInterfaces.end() ? nullptr : &*found;
}

const char* error_name(Verdict::Kind kind) {
    switch (kind) {
        case Verdict::Kind::reaches_qt: return nullptr;
        case Verdict::Kind::invalid_args: return "org.freedesktop.DBus.Error.InvalidArgs";
        case Verdict::Kind::unknown_method: return "org.freedesktop.DBus.Error.UnknownMethod";
        case Verdict::Kind::unknown_property: return "org.freedesktop.DBus.Error.UnknownProperty";
        case Verdict::Kind::read_only: return "org.freedesktop.DBus.Error.PropertyReadOnly";
        case Verdict::Kind::not_supported: return "org.freedesktop.DBus.Error.NotSupported";
    }
    return nullptr;
}

Verdict judge(const Call& call, Bridge bridge) {
    if (call.interface == kProperties) return judge_properties(call, bridge);
    const Interface* interface = find_interface(call.interface);
    if (interface == nullptr) return {};  // the bridge dispatches no other interface

    // The bridge serves Set<property> for Properties.Set and reads the value as Set's third
    // argument, so a direct call (SetCurrentValue(d), SetId()) reads past its arguments.
    if (call.member.starts_with("Set")) {
        const Property* property = find_property(*interface, call.member.substr(3));
        if (property != nullptr && property->writable) {
            return refuse(Verdict::Kind::not_supported, {"set ", property->name, " with ", kProperties, ".Set"});
        }
    }
    const Method* method = find_method(*interface, call.member);
    if (method == nullptr) {
        if (bridge == Bridge::later) return {};
        return refuse(Verdict::Kind::unknown_method, {call.interface, " has no method ", call.member});
    }
    if (call.signature != method->arguments) {
        return wrong_arguments(call.interface, call.member, method->arguments, call.signature);
    }
    return {};
}

}  // namespace vorlanex::qtshared::accessibility
