// The verdicts of the accessibility guard on calls to accessible objects, for the bridge of
// Qt 6.4 (the table describes it; everything else is refused) and for a later one (only what the
// table knows is checked). The test accessibility_bus holds the same table against the running
// bridge on an accessibility bus; this one needs no bus and covers what this window's objects do
// not serve (Table, Value) and the later bridge.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "qtshared/accessibility_calls.h"

namespace {

namespace a11y = vorlanex::qtshared::accessibility;
using Kind = a11y::Verdict::Kind;
using a11y::Bridge;

constexpr std::string_view kProperties = "org.freedesktop.DBus.Properties";

struct Case {
    const char* what;
    a11y::Call call;
    Kind on_qt_6_4;
    Kind on_later;
    const char* message_holds = "";  // a part of the refusal's message
};

// clang-format off
const Case kCases[] = {
    // Declared methods: the declared signature reaches Qt, any other is refused.
    {"GetChildAtIndex without its index",
     {"org.a11y.atspi.Accessible", "GetChildAtIndex", ""},
     Kind::invalid_args,
     Kind::invalid_args,
     "org.a11y.atspi.Accessible.GetChildAtIndex takes the arguments \"i\", not \"\""},
    {"GetChildAtIndex(i)", {"org.a11y.atspi.Accessible", "GetChildAtIndex", "i"}, Kind::reaches_qt, Kind::reaches_qt},
    {"GetChildAtIndex(s)",
     {"org.a11y.atspi.Accessible", "GetChildAtIndex", "s"},
     Kind::invalid_args,
     Kind::invalid_args,
     "not \"s\""},
    {"GetChildren(i)",
     {"org.a11y.atspi.Accessible", "GetChildren", "i"},
     Kind::invalid_args,
     Kind::invalid_args,
     "takes the arguments \"\", not \"i\""},
    {"GetInterfaces, at-spi2-core's",
     {"org.a11y.atspi.Accessible", "GetInterfaces", ""},
     Kind::reaches_qt,
     Kind::reaches_qt},
    {"GetExtents(i)", {"org.a11y.atspi.Component", "GetExtents", "i"}, Kind::invalid_args, Kind::invalid_args},
    {"GetBoundedRanges, all seven",
     {"org.a11y.atspi.Text", "GetBoundedRanges", "iiiiuuu"},
     Kind::reaches_qt,
     Kind::reaches_qt},
    {"GetBoundedRanges, six",
     {"org.a11y.atspi.Text", "GetBoundedRanges", "iiiiuu"},
     Kind::invalid_args,
     Kind::invalid_args},
    {"InsertText(isi)", {"org.a11y.atspi.EditableText", "InsertText", "isi"}, Kind::reaches_qt, Kind::reaches_qt},
    {"Table.GetAccessibleAt()",
     {"org.a11y.atspi.Table", "GetAccessibleAt", ""},
     Kind::invalid_args,
     Kind::invalid_args},
    {"Introspect()", {"org.freedesktop.DBus.Introspectable", "Introspect", ""}, Kind::reaches_qt, Kind::reaches_qt},
    {"Introspect(s)",
     {"org.freedesktop.DBus.Introspectable", "Introspect", "s"},
     Kind::invalid_args,
     Kind::invalid_args},

    // Members the table does not declare: refused on Qt 6.4, left to a later bridge.
    {"Accessible.GetName, the bridge's hidden getter",
     {"org.a11y.atspi.Accessible", "GetName", ""},
     Kind::unknown_method,
     Kind::reaches_qt,
     "org.a11y.atspi.Accessible has no method GetName"},
    {"a made-up Component method",
     {"org.a11y.atspi.Component", "Frobnicate", "i"},
     Kind::unknown_method,
     Kind::reaches_qt},
    // A writable property's setter called directly reads Properties.Set's third argument.
    {"Application.SetId()",
     {"org.a11y.atspi.Application", "SetId", ""},
     Kind::not_supported,
     Kind::not_supported,
     "set Id with org.freedesktop.DBus.Properties.Set"},
    {"Value.SetCurrentValue(d)",
     {"org.a11y.atspi.Value", "SetCurrentValue", "d"},
     Kind::not_supported,
     Kind::not_supported},
    {"Text.SetCaretOffset(i), a method of a read-only property's name",
     {"org.a11y.atspi.Text", "SetCaretOffset", "i"},
     Kind::reaches_qt,
     Kind::reaches_qt},

    // Interfaces the bridge does not dispatch reach Qt, which answers them itself.
    {"Peer.Ping(s)", {"org.freedesktop.DBus.Peer", "Ping", "s"}, Kind::reaches_qt, Kind::reaches_qt},
    {"a call naming no interface", {"", "GetText", ""}, Kind::reaches_qt, Kind::reaches_qt},
    {"Selection, not dispatched by Qt 6.4",
     {"org.a11y.atspi.Selection", "SelectChild", ""},
     Kind::reaches_qt,
     Kind::reaches_qt},

    // Properties: the signatures D-Bus gives it, then a declared property.
    {"Get(Accessible, Name)",
     {kProperties, "Get", "ss", "org.a11y.atspi.Accessible", "Name"},
     Kind::reaches_qt,
     Kind::reaches_qt},
    {"Get without arguments",
     {kProperties, "Get", ""},
     Kind::invalid_args,
     Kind::invalid_args,
     "org.freedesktop.DBus.Properties.Get takes the arguments \"ss\", not \"\""},
    {"Get with the interface only", {kProperties, "Get", "s"}, Kind::invalid_args, Kind::invalid_args},
    {"Get(i, s)", {kProperties, "Get", "is"}, Kind::invalid_args, Kind::invalid_args},
    {"Get(Text, RangeExtents), which the bridge runs as GetRangeExtents(iiu)",
     {kProperties, "Get", "ss", "org.a11y.atspi.Text", "RangeExtents"},
     Kind::unknown_property,
     Kind::unknown_property,
     "org.a11y.atspi.Text has no property RangeExtents"},
    {"Get(Component, AccessibleAtPoint)",
     {kProperties, "Get", "ss", "org.a11y.atspi.Component", "AccessibleAtPoint"},
     Kind::unknown_property,
     Kind::unknown_property},
    {"Get(Text, Text), run as GetText(ii) with two strings",
     {kProperties, "Get", "ss", "org.a11y.atspi.Text", "Text"},
     Kind::unknown_property,
     Kind::reaches_qt},
    {"Get(Accessible, Locale), at-spi2-core's",
     {kProperties, "Get", "ss", "org.a11y.atspi.Accessible", "Locale"},
     Kind::unknown_property,
     Kind::reaches_qt},
    {"Get of a property of an interface the bridge does not dispatch",
     {kProperties, "Get", "ss", "org.a11y.atspi.Selection", "NSelectedChildren"},
     Kind::unknown_property,
     Kind::reaches_qt},
    {"Set(Application, Id, i)",
     {kProperties, "Set", "ssv", "org.a11y.atspi.Application", "Id", "i"},
     Kind::reaches_qt,
     Kind::reaches_qt},
    {"Set(Value, CurrentValue, d)",
     {kProperties, "Set", "ssv", "org.a11y.atspi.Value", "CurrentValue", "d"},
     Kind::reaches_qt,
     Kind::reaches_qt},
    {"Set(Application, Id, s)",
     {kProperties, "Set", "ssv", "org.a11y.atspi.Application", "Id", "s"},
     Kind::invalid_args,
     Kind::invalid_args,
     "org.a11y.atspi.Application.Id is of type \"i\", not \"s\""},
    {"Set without its value", {kProperties, "Set", "ss"}, Kind::invalid_args, Kind::invalid_args},
    {"Set(Accessible, Name, s)",
     {kProperties, "Set", "ssv", "org.a11y.atspi.Accessible", "Name", "s"},
     Kind::read_only,
     Kind::read_only,
     "org.a11y.atspi.Accessible.Name cannot be set"},
    {"Set(Text, CaretOffset, i), read-only",
     {kProperties, "Set", "ssv", "org.a11y.atspi.Text", "CaretOffset", "i"},
     Kind::read_only,
     Kind::read_only},
    {"Set(Component, Extents), run as SetExtents(iiiiu)",
     {kProperties, "Set", "ssv", "org.a11y.atspi.Component", "Extents", "i"},
     Kind::unknown_property,
     Kind::unknown_property},
    {"Set(Text, Selection), run as SetSelection(iii) with three arguments",
     {kProperties, "Set", "ssv", "org.a11y.atspi.Text", "Selection", "i"},
     Kind::unknown_property,
     Kind::reaches_qt},
    {"GetAll(s)",
     {kProperties, "GetAll", "s"},
     Kind::not_supported,
     Kind::reaches_qt,
     "ask for each property with Get"},
    {"GetAll()", {kProperties, "GetAll", ""}, Kind::invalid_args, Kind::invalid_args},
    {"GetAll(ss)", {kProperties, "GetAll", "ss"}, Kind::invalid_args, Kind::invalid_args},
    {"a made-up Properties method", {kProperties, "Frobnicate", ""}, Kind::unknown_method, Kind::reaches_qt},
};
// clang-format on

class AccessibilityCalls : public ::testing::TestWithParam<Case> {};

void expect_verdict(const Case& the_case, Bridge bridge, Kind expected) {
    const a11y::Verdict verdict = a11y::judge(the_case.call, bridge);
    EXPECT_EQ(verdict.kind, expected) << the_case.what << ": " << verdict.message;
    if (expected == Kind::reaches_qt) {
        EXPECT_TRUE(verdict.message.empty());
        EXPECT_EQ(a11y::error_name(verdict.kind), nullptr);
    } else {
        EXPECT_TRUE(verdict.message.starts_with(a11y::kRefusalPrefix)) << verdict.message;
        EXPECT_NE(verdict.message.find(the_case.message_holds), std::string::npos) << verdict.message;
        EXPECT_NE(a11y::error_name(verdict.kind), nullptr);
    }
}

TEST_P(AccessibilityCalls, OnQt64) { expect_verdict(GetParam(), Bridge::qt_6_4, GetParam().on_qt_6_4); }
TEST_P(AccessibilityCalls, OnALaterQt) { expect_verdict(GetParam(), Bridge::later, GetParam().on_later); }

INSTANTIATE_TEST_SUITE_P(Verdicts, AccessibilityCalls, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             return "case" + std::to_string(info.index);
                         });

TEST(AccessibilityCallsTable, ErrorNamesAreDBusOwn) {
    EXPECT_STREQ(a11y::error_name(Kind::invalid_args), "org.freedesktop.DBus.Error.InvalidArgs");
    EXPECT_STREQ(a11y::error_name(Kind::unknown_method), "org.freedesktop.DBus.Error.UnknownMethod");
    EXPECT_STREQ(a11y::error_name(Kind::unknown_property), "org.freedesktop.DBus.Error.UnknownProperty");
    EXPECT_STREQ(a11y::error_name(Kind::read_only), "org.freedesktop.DBus.Error.PropertyReadOnly");
    EXPECT_STREQ(a11y::error_name(Kind::not_supported), "org.freedesktop.DBus.Error.NotSupported");
}

// Every method and property is declared once, with a signature of basic types only, and every
// declared method called as declared reaches Qt (a writable property's setter excepted).
TEST(AccessibilityCallsTable, EveryDeclarationIsWellFormedAndReachesQt) {
    const std::string basic = "ybnqiuxtdsogv";
    std::set<std::string_view> interfaces;
    for (const a11y::Interface& interface : a11y::declared_interfaces()) {
        EXPECT_TRUE(interfaces.insert(interface.name).second) << interface.name;
        EXPECT_EQ(a11y::find_interface(interface.name), &interface);
        std::set<std::string_view> members;
        for (const a11y::Method& method : interface.methods) {
            EXPECT_TRUE(members.insert(method.name).second) << interface.name << "." << method.name;
            EXPECT_EQ(method.arguments.find_first_not_of(basic), std::string_view::npos) << method.name;
            const a11y::Verdict verdict = a11y::judge({interface.name, method.name, method.arguments}, Bridge::qt_6_4);
            const bool setter = interface.name == "org.a11y.atspi.Value" && method.name == "SetCurrentValue";
            EXPECT_EQ(verdict.kind, setter ? Kind::not_supported : Kind::reaches_qt)
                << interface.name << "." << method.name;
        }
        std::set<std::string_view> properties;
        for (const a11y::Property& property : interface.properties) {
            EXPECT_TRUE(properties.insert(property.name).second) << interface.name << "." << property.name;
            const a11y::Call get{kProperties, "Get", "ss", interface.name, property.name};
            EXPECT_EQ(a11y::judge(get, Bridge::qt_6_4).kind, Kind::reaches_qt) << property.name;
            const a11y::Call set{kProperties, "Set", "ssv", interface.name, property.name, property.type};
            EXPECT_EQ(a11y::judge(set, Bridge::qt_6_4).kind, property.writable ? Kind::reaches_qt : Kind::read_only)
                << property.name;
        }
    }
    // The eight AT-SPI interfaces Qt 6.4's bridge dispatches, and Introspectable.
    EXPECT_EQ(interfaces.size(), 9U);
}

}  // namespace
