#include "cli/convert_command.h"

#include <cstdio>
#include <exception>
#include <stdexcept>

#include "cli/render_command.h"
#include "effectfile/effect_writer.h"
#include "interop/effect_import.h"
#include "interop/pd_config.h"
#include "vesk/text_conversion.h"

namespace orv {
namespace {

bool ParseSize(const std::string& text, std::uint32_t& size) {
    const std::optional<double> value = ParseDecimal(text);
    if (!value || *value < 1 || *value > 65535 || *value != static_cast<std::uint32_t>(*value)) return false;
    size = static_cast<std::uint32_t>(*value);
    return true;
}

ParsedConvertLine UsageError(std::string error) {
    ParsedConvertLine parsed;
    parsed.action = ParsedConvertLine::Action::kUsageError;
    parsed.error = std::move(error);
    return parsed;
}

// The effect in IN, as the editor holds it after opening the file; what the import could not map
// exactly is printed.
void ReadInput(const ConvertOptions& options, Effect& effect) {
    const LoadOutcome outcome =
        LoadAnyEffect(effect, std::filesystem::path(options.input).u16string(), false, options.frame);
    if (!outcome.loaded) {
        throw std::runtime_error(outcome.message ? vesk::Utf8ForDisplay(outcome.message->text) : "cannot read the file");
    }
    if (outcome.message) std::fputs(vesk::Utf8ForDisplay(outcome.message->text).c_str(), stdout);
}

void WriteOutput(const ConvertOptions& options, const Effect& effect, ConversionReport& report) {
    const std::filesystem::path output(options.output);
    if (FormatOfPath(output.u16string()) == ParticleFormat::kOrv) {
        if (const std::optional<EditorMessage> failure = SaveEffect(effect, output.u16string())) {
            throw std::runtime_error(vesk::Utf8ForDisplay(failure->text) + ": " + options.output);
        }
        return;
    }
    for (const std::filesystem::path& file :
         ExportEffect(effect, std::nullopt, output, options.embedTexture, options.frame, report)) {
        std::printf("wrote %s\n", file.string().c_str());
    }
}

}  // namespace

ParsedConvertLine ParseConvertLine(const std::vector<std::string>& arguments) {
    ParsedConvertLine parsed;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help") {
            parsed.action = ParsedConvertLine::Action::kHelp;
            return parsed;
        }
        if (argument == "--version") {
            parsed.action = ParsedConvertLine::Action::kVersion;
            return parsed;
        }
        if (argument == "--embed") {
            parsed.options.embedTexture = true;
        } else if (argument == "--width" || argument == "--height") {
            std::uint32_t& size = argument == "--width" ? parsed.options.frame.width : parsed.options.frame.height;
            if (i + 1 >= arguments.size() || !ParseSize(arguments[i + 1], size)) {
                return UsageError(argument + " needs a size from 1 to 65535");
            }
            ++i;
        } else if (argument.size() > 1 && argument[0] == '-') {
            return UsageError("unknown option " + argument);
        } else {
            files.push_back(argument);
        }
    }
    if (files.size() != 2) return UsageError("expected an input and an output file");
    parsed.options.input = files[0];
    parsed.options.output = files[1];
    const std::optional<ParticleFormat> in = FormatOfPath(std::filesystem::path(files[0]).u16string());
    const std::optional<ParticleFormat> out = FormatOfPath(std::filesystem::path(files[1]).u16string());
    if (!in) return UsageError("the input must be a .orv, .plist, .pex or .p file");
    if (!out || *out == ParticleFormat::kLibgdx) return UsageError("the output must be a .orv, .plist or .pex file");
    return parsed;
}

std::string ConvertHelpText() {
    return "Usage: orv-convert [options] IN OUT\n"
           "Converts particle effects between .orv, .plist (cocos2d), .pex (Starling/Sparrow) and,\n"
           "as input only, .p (libgdx), by the files' extensions. Every value that could only be\n"
           "approximated, had to be clamped or was dropped is listed.\n"
           "An effect of several emitters written as .plist or .pex gives one file per emitter,\n"
           "named OUT-EMITTER.plist (or .pex).\n"
           "  --embed                 embed the texture (gzip'd PNG) in .plist / .pex output\n"
           "  --width W --height H    frame the emitter positions are measured in (default 800 x 600)\n"
           "  --help, --version\n"
           "Exit status: 0 on success, 1 when a file cannot be read or written, 2 for wrong usage.\n";
}

int RunConvertCommand(const ConvertOptions& options) {
    Effect effect;
    ConversionReport report;
    try {
        ReadInput(options, effect);
        WriteOutput(options, effect, report);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "orv-convert: %s: %s\n", options.input.c_str(), error.what());
        return kExitFailure;
    }
    std::fputs(report.Text().c_str(), stdout);
    return kExitSuccess;
}

}  // namespace orv
