#include "cli/cli_lighting_commands.h"

#include <charconv>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/keyboard_session.h"
#include "device/command_set.h"
#include "device/result_codes.h"
#include "sync/lighting_ops.h"

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

std::optional<int> ParseNumber(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end) {
        return std::nullopt;
    }
    return value;
}

// 1..3 on the command line, 0..2 inside; -1 for anything else.
int ParseProfile(const std::string& text) {
    const auto number = ParseNumber(text);
    return number && *number >= 1 && *number <= kOnboardProfiles ? *number - 1 : -1;
}

// deze.ini below the folder that stands for Documents; without --documents the command line
// keeps no panel setting, which nothing it prints depends on.
std::filesystem::path SettingsFile(const GlobalOptions& options) {
    if (options.documents.empty()) {
        return {};
    }
    return std::filesystem::path(options.documents) / "Korvel_09A" / "deze.ini";
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

struct SetRequest {
    const Field* field = nullptr;
    int number = 0;
    Color color = kBlack;
};

// Checks the arguments of "set" before the keyboard is touched; an empty message means valid.
std::string ParseSet(const std::vector<std::string>& args, SetRequest& request) {
    if (args.size() < 3 || args.size() > 4) {
        return "lighting set takes FIELD VALUE [PROFILE]";
    }
    request.field = FindField(args[1]);
    if (request.field == nullptr) {
        std::string names;
        for (const Field& field : Fields()) {
            names += names.empty() ? "" : ", ";
            names += field.name;
        }
        return "unknown lighting field '" + args[1] + "' (fields: " + names + ")";
    }
    const Field& field = *request.field;
    const std::string& value = args[2];
    if (field.kind == ValueKind::Color) {
        const auto color = ParseColor(value);
        if (!color) {
            return std::string(field.name) + " needs a colour #rrggbb, not '" + value + "'";
        }
        request.color = *color;
    } else {
        const auto number = ParseNumber(value);
        if (!number || *number < field.low || *number > field.high) {
            return std::string(field.name) + " needs a number " + std::to_string(field.low) + ".." +
                   std::to_string(field.high) + ", not '" + value + "'";
        }
        if (IsEffectField(field) && !IsHandledEffect(*number)) {
            return "effect " + value + " is not one the program handles (1..18, 20)";
        }
        request.number = *number;
    }
    return {};
}

}  // namespace

int RunLighting(CommandContext& context) {
    const auto& args = context.Arguments();
    const bool set = !args.empty() && args[0] == "set";
    SetRequest request;
    std::string profileText;
    if (set) {
        if (const std::string error = ParseSet(args, request); !error.empty()) {
            return context.Fail(kExitUsage, error);
        }
        if (args.size() == 4) {
            profileText = args[3];
        }
    } else if (args.size() > 1) {
        return context.Fail(kExitUsage, "lighting takes at most one argument, the profile 1..3");
    } else if (args.size() == 1) {
        profileText = args[0];
    }
    int profile = -1;
    if (!profileText.empty()) {
        profile = ParseProfile(profileText);
        if (profile < 0) {
            return context.Fail(kExitUsage,
                                "the profile must be 1, 2 or 3, not '" + profileText + "'");
        }
    }

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
    LightingOps ops(state, link, view, SettingsFile(context.Options()));
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
        PrintValues(context.Out(), state.current);
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
