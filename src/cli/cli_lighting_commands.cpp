#include "cli/cli_lighting_commands.h"

#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/shared_options.h"
#include "cli/keyboard_session.h"
#include "device/command_set.h"
#include "device/result_codes.h"
#include "model/files/profile_locations.h"
#include "sync/lighting_ops.h"
#include "text/app_paths.h"

namespace korvel::cli {
namespace {

// How a field of `lighting set` takes its value and which operation writes it.
enum class ValueKind { Number, Color };

struct Field {
    const char* name;
    ValueKind kind;
    int low;
    int high;
    int (*write)(LightingOps& ops, int number, Color color);
};

const std::vector<Field>& Fields() {
    static const std::vector<Field> fields = {
        {"effect", ValueKind::Number, 1, 255,
         [](LightingOps& ops, int n, Color) { return ops.SetEffect(n); }},
        {"brightness", ValueKind::Number, 0, kMaxBrightness,
         [](LightingOps& ops, int n, Color) { return ops.SetBrightness(n); }},
        {"speed", ValueKind::Number, 0, kMaxSpeed,
         [](LightingOps& ops, int n, Color) { return ops.SetSpeed(n); }},
        {"direction", ValueKind::Number, 0, 1,
         [](LightingOps& ops, int n, Color) { return ops.SetDirection(n); }},
        {"multicolor", ValueKind::Number, 0, 1,
         [](LightingOps& ops, int n, Color) { return ops.SetMulticolor(n); }},
        {"color", ValueKind::Color, 0, 0,
         [](LightingOps& ops, int, Color c) { return ops.SetEffectColor(c); }},
        {"base-color", ValueKind::Color, 0, 0,
         [](LightingOps& ops, int, Color c) { return ops.ChooseBaseColor(c); }},
        {"paint-color", ValueKind::Color, 0, 0,
         [](LightingOps& ops, int, Color c) { return ops.SetPaintColor(c); }},
        {"report-rate", ValueKind::Number, 0, kMaxReportRate,
         [](LightingOps& ops, int n, Color) { return ops.SetReportRate(n); }},
        {"tool", ValueKind::Number, 0, kMaxPaintTool,
         [](LightingOps& ops, int n, Color) { return ops.SetPaintTool(n); }},
        {"effect17", ValueKind::Number, 0, kMaxEffect17Color,
         [](LightingOps& ops, int n, Color) { return ops.SetEffect17Color(n); }},
    };
    return fields;
}

bool IsEffectField(const Field& field) {
    return std::string_view(field.name) == "effect";
}

const Field* FindField(const std::string& name) {
    for (const Field& field : Fields()) {
        if (name == field.name) {
            return &field;
        }
    }
    return nullptr;
}

// deze.ini below the Documents folder the file commands use; without one, no panel setting is
// kept, which nothing the command prints depends on.
std::filesystem::path SettingsFile(const std::filesystem::path& documents) {
    if (documents.empty()) {
        return {};
    }
    return ProfileDirectory(documents) / kLightingSettingsFileName;
}

void PrintValues(std::ostream& out, const LightingValues& values) {
    out << "effect: " << values.effect << '\n'
        << "brightness: " << values.brightness << '\n'
        << "speed: " << values.speed << '\n'
        << "direction: " << values.direction << '\n'
        << "multicolor: " << (values.multicolor ? 1 : 0) << '\n'
        << "color: " << FormatColor(values.effectColor) << '\n'
        << "base-color: " << FormatColor(values.baseColor) << '\n'
        << "paint-color: " << FormatColor(values.paintColor) << '\n'
        << "report-rate: " << values.reportRate << '\n'
        << "tool: " << values.paintTool << '\n'
        << "effect17: " << values.effect17Color << '\n';
}

// The same fields as one JSON object, in the same order and under the same names.
void PrintJson(std::ostream& out, const LightingValues& values) {
    out << nlohmann::ordered_json{{"effect", values.effect},
                                  {"brightness", values.brightness},
                                  {"speed", values.speed},
                                  {"direction", values.direction},
                                  {"multicolor", values.multicolor ? 1 : 0},
                                  {"color", FormatColor(values.effectColor)},
                                  {"base-color", FormatColor(values.baseColor)},
                                  {"paint-color", FormatColor(values.paintColor)},
                                  {"report-rate", values.reportRate},
                                  {"tool", values.paintTool},
                                  {"effect17", values.effect17Color}}
               .dump()
        << '\n';
}

struct SetRequest {
    const Field* field = nullptr;
    int number = 0;
    Color color = kBlack;
};

// Checks FIELD and VALUE of "set" before the keyboard is touched; an empty message means valid.
std::string ParseSet(const CommandArguments& args, SetRequest& request) {
    request.field = FindField(args.field);
    if (request.field == nullptr) {
        std::string names;
        for (const Field& field : Fields()) {
            names += names.empty() ? "" : ", ";
            names += field.name;
        }
        return "unknown lighting field '" + args.field + "' (fields: " + names + ")";
    }
    const Field& field = *request.field;
    const std::string& value = args.value;
    if (field.kind == ValueKind::Color) {
        const auto color = ParseColor(value);
        if (!color) {
            return std::string(field.name) + " needs a colour #rrggbb, not '" + value + "'";
        }
        request.color = *color;
    } else {
        const auto number = ParseWholeNumber(value, static_cast<std::uint64_t>(field.low),
                                             static_cast<std::uint64_t>(field.high));
        if (!number) {
            return std::string(field.name) + " needs a number " + std::to_string(field.low) + ".." +
                   std::to_string(field.high) + ", not '" + value + "'";
        }
        request.number = static_cast<int>(*number);
        if (IsEffectField(field) && !IsHandledEffect(request.number)) {
            return "effect " + value + " is not one the program handles (1..18, 20)";
        }
    }
    return {};
}

}  // namespace

int RunLighting(CommandContext& context) {
    const CommandArguments& args = context.Arguments();
    const bool set = args.set;
    SetRequest request;
    if (set) {
        if (const std::string error = ParseSet(args, request); !error.empty()) {
            return context.Fail(kExitUsage, error);
        }
    }
    int profile = args.profile - 1;  // -1: the active one

    KeyboardSession* keyboard = context.Keyboard();
    if (keyboard == nullptr) {
        return kExitFailed;
    }
    DeviceLink& link = keyboard->Link();
    if (profile < 0) {
        profile = DevGetActiveProfile(link);
        if (profile < 0) {
            return context.Finish(context.Fail(
                kExitFailed, "the active profile could not be read from the keyboard"));
        }
    }

    LightingState state;
    state.currentProfile = profile;
    SilentLightingView view;
    LightingOps ops(state, link, view, SettingsFile(context.Documents().path));
    // A change needs what the window knows after a connect: every table, and which keys follow
    // the base colour.
    const int read = set ? ops.ReadAllLighting() : ops.ReadCurrentLighting();
    if (read != 0) {
        return context.Finish(
            context.Fail(kExitFailed, "the keyboard's information block could not be read"));
    }
    if (!ops.LastReadComplete()) {
        return context.Finish(
            context.Fail(kExitFailed, "the keyboard's lighting could not be read completely"));
    }
    if (!set) {
        if (context.Arguments().json) {
            PrintJson(context.Out(), state.current);
        } else {
            PrintValues(context.Out(), state.current);
        }
        return context.Finish(kExitOk);
    }

    ops.RecomputeBaseMembership();
    const Field& field = *request.field;
    if (IsEffectField(field) && !state.Effects().Contains(request.number)) {
        return context.Finish(context.Fail(
            kExitFailed, "the keyboard does not offer effect " + std::to_string(request.number)));
    }
    const int result = field.write(ops, request.number, request.color);
    if (result != DEV_OK) {
        return context.Finish(context.Fail(kExitFailed, "the keyboard did not take the " +
                                                            std::string(field.name) + " (result " +
                                                            std::to_string(result) + ")"));
    }
    return context.Finish(kExitOk);
}

}  // namespace korvel::cli
