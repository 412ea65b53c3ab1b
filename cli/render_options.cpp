#include "cli/render_options.h"

#include <charconv>
#include <utility>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "engine/settings.h"
#include "export/render_values.h"

namespace orv {
namespace {

// Far more than any machine has cores; each thread holds a frame, so a typo must not exhaust memory.
constexpr std::uint32_t kMaxThreads = 256;

std::optional<std::uint32_t> ParseCount(std::string_view text) {
    return ParseDecimal<std::uint32_t>(text);
}

// "FIRST-LAST" with FIRST <= LAST.
std::optional<std::pair<std::uint64_t, std::uint64_t>> ParseFrameRange(std::string_view text) {
    const std::size_t dash = text.find('-');
    if (dash == std::string_view::npos) return std::nullopt;
    const auto first = ParseDecimal<std::uint64_t>(text.substr(0, dash));
    const auto last = ParseDecimal<std::uint64_t>(text.substr(dash + 1));
    if (!first || !last || *first > *last) return std::nullopt;
    return std::pair{*first, *last};
}

class Parser {
public:
    Parser(const std::vector<std::string>& arguments, bool processorHasSse2) : arguments_(arguments) {
        result_.options.sse2 = processorHasSse2;
    }

    ParsedCommandLine Parse() {
        std::vector<std::string> positional;
        bool optionsEnded = false;
        for (next_ = 0; next_ < arguments_.size();) {
            const std::string& argument = arguments_[next_++];
            if (optionsEnded || argument == "-" || argument.empty() || argument.front() != '-') {
                positional.push_back(argument);
            } else if (argument == "--") {
                optionsEnded = true;
            } else if (!Option(argument)) {
                return std::move(result_);
            } else if (result_.action != ParsedCommandLine::Action::kRender &&
                       result_.action != ParsedCommandLine::Action::kUsageError) {
                return std::move(result_);  // --help or --version: nothing else matters
            }
        }
        if (positional.size() != 2) {
            return Fail(positional.size() < 2 ? "expected an effect file and an output base"
                                              : "too many arguments: '" + positional[2] + "'");
        }
        if (positional[1].empty()) return Fail("the output base is empty");
        const RenderOptions& options = result_.options;
        if (const auto misplaced = OptionOfAnotherFormat()) return Fail(*misplaced);
        if (options.format != OutputFormat::kPngSequence && positional[1].back() == '/') {
            return Fail("--format " + std::string(OutputFormatName(options.format)) +
                        " needs a file title at the end of the output base, not a folder");
        }
        if (options.lastFrame && *options.lastFrame >= options.FrameCount()) {
            return Fail("option '--frames' names frame " + std::to_string(*options.lastFrame) + ", but the " +
                        (options.loop ? "loop" : "render") + " has " +
                        std::to_string(options.FrameCount()) + " frames (0 to " +
                        std::to_string(options.FrameCount() - 1) + ")");
        }
        result_.options.effectPath = positional[0];
        result_.options.outputBase = positional[1];
        result_.action = ParsedCommandLine::Action::kRender;
        return std::move(result_);
    }

private:
    // Handles one option; false (with the error set) when it is wrong.
    bool Option(const std::string& argument) {
        std::string name = argument;
        std::optional<std::string> inlineValue;
        if (const auto equals = argument.find('='); equals != std::string::npos) {
            name = argument.substr(0, equals);
            inlineValue = argument.substr(equals + 1);
        }
        RenderOptions& options = result_.options;

        if (name == "--help" || name == "--version" || name == "--quiet" || name == "--loop" ||
            name == "--trim") {
            if (inlineValue) return FailOption("option '" + name + "' takes no value");
            if (name == "--help") result_.action = ParsedCommandLine::Action::kHelp;
            if (name == "--version") result_.action = ParsedCommandLine::Action::kVersion;
            if (name == "--quiet") options.quiet = true;
            if (name == "--loop") options.loop = true;
            if (name == "--trim") options.sheet.trim = true;
            return true;
        }

        const bool known = name == "--seconds" || name == "--fps" || name == "--width" ||
                           name == "--height" || name == "--interpolate" || name == "--sse2" ||
                           name == "--seed" || name == "--start" || name == "--frames" ||
                           name == "--threads" || name == "--png-compression" || name == "--format" ||
                           name == "--columns" || name == "--quality";
        if (!known) return FailOption("unknown option '" + name + "'");
        std::string value;
        if (inlineValue) {
            value = *inlineValue;
        } else if (next_ < arguments_.size()) {
            value = arguments_[next_++];
        } else {
            return FailOption("option '" + name + "' needs a value");
        }

        if (name == "--seconds") {
            const std::optional<std::uint32_t> count = ParseCount(value);
            if (!count || *count < 1) {
                return FailOption("option '--seconds' needs a whole number of at least 1, not '" + value +
                                  "'");
            }
            options.seconds = *count;
        } else if (name == "--width" || name == "--height") {
            const std::optional<std::uint32_t> side = ParseCount(value);
            if (!side || *side < 1 || *side > kMaxScreenSide) {
                return FailOption("option '" + name + "' takes 1 to " + std::to_string(kMaxScreenSide) +
                                  " pixels, not '" + value + "'");
            }
            (name == "--width" ? options.width : options.height) = *side;
        } else if (name == "--threads") {
            const std::optional<std::uint32_t> threads = ParseCount(value);
            if (!threads || *threads < 1 || *threads > kMaxThreads) {
                return FailOption("option '--threads' needs a whole number from 1 to " +
                                  std::to_string(kMaxThreads) + ", not '" + value + "'");
            }
            options.threads = *threads;
        } else if (name == "--png-compression") {
            const std::optional<PngCompression> compression = PngCompressionFromName(value);
            if (!compression) {
                return FailOption("option '--png-compression' takes default, fast or small, not '" + value +
                                  "'");
            }
            options.compression = *compression;
        } else if (name == "--format") {
            const std::optional<OutputFormat> format = OutputFormatFromName(value);
            if (!format) {
                return FailOption("option '--format' takes png, sheet, apng, webp or gif, not '" + value + "'");
            }
            options.format = *format;
        } else if (name == "--columns") {
            const std::optional<std::uint32_t> columns = ParseCount(value);
            if (!columns || *columns < 1) {
                return FailOption("option '--columns' needs a whole number of at least 1, not '" + value + "'");
            }
            options.sheet.columns = *columns;
        } else if (name == "--quality") {
            const std::optional<std::uint32_t> quality = ParseCount(value);
            if (!quality || *quality > 100) {
                return FailOption("option '--quality' takes a whole number from 0 to 100, not '" + value + "'");
            }
            options.webpQuality = static_cast<int>(*quality);
        } else if (name == "--fps") {
            const std::optional<std::uint32_t> fps = ParseCount(value);
            if (!fps || (*fps != 60 && *fps != 30 && *fps != 20 && *fps != 15)) {
                return FailOption("option '--fps' takes 60, 30, 20 or 15, not '" + value + "'");
            }
            options.framesPerSecond = *fps;
        } else if (name == "--seed") {
            options.seed = ParseDecimal<std::uint64_t>(value);
            if (!options.seed) {
                return FailOption("option '--seed' takes a whole number from 0 to 18446744073709551615, not '" +
                                  value + "'");
            }
        } else if (name == "--start") {
            const std::optional<double> seconds = ParseStartSeconds(value);
            if (!seconds) {
                return FailOption("option '--start' takes seconds from 0 to 4294967295, such as 2 or 1.5, not '" +
                                  value + "'");
            }
            options.startSeconds = *seconds;
        } else if (name == "--frames") {
            const auto range = ParseFrameRange(value);
            if (!range) {
                return FailOption("option '--frames' takes FIRST-LAST, two frame numbers with FIRST <= LAST, not '" +
                                  value + "'");
            }
            options.firstFrame = range->first;
            options.lastFrame = range->second;
        } else if (name == "--interpolate") {
            if (value != "nearest" && value != "bilinear") {
                return FailOption("option '--interpolate' takes nearest or bilinear, not '" + value + "'");
            }
            options.interpolateType = value == "bilinear" ? 1 : 0;
        } else {
            if (value != "on" && value != "off") {
                return FailOption("option '--sse2' takes on or off, not '" + value + "'");
            }
            options.sse2 = value == "on";
            options.sse2Requested = options.sse2;
        }
        return true;
    }

    // An option that only one format reads, given with another: a mistake, not something to ignore.
    std::optional<std::string> OptionOfAnotherFormat() const {
        const RenderOptions& options = result_.options;
        const auto refuse = [&](const char* option, const char* format) {
            return std::string("option '") + option + "' applies to --format " + format + " only";
        };
        if (options.format != OutputFormat::kSheet) {
            if (options.sheet.columns != 0) return refuse("--columns", "sheet");
            if (options.sheet.trim) return refuse("--trim", "sheet");
        }
        if (options.format != OutputFormat::kAnimatedWebp && options.webpQuality) return refuse("--quality", "webp");
        return std::nullopt;
    }

    bool FailOption(std::string error) {
        result_.action = ParsedCommandLine::Action::kUsageError;
        result_.error = std::move(error);
        return false;
    }

    ParsedCommandLine Fail(std::string error) {
        FailOption(std::move(error));
        return std::move(result_);
    }

    const std::vector<std::string>& arguments_;
    std::size_t next_ = 0;
    ParsedCommandLine result_;
};

}  // namespace

std::optional<std::uint64_t> RenderOptions::StartSteps() const {
    if (!startSeconds) return std::nullopt;
    return orv::StartSteps(*startSeconds, framesPerSecond);
}

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments, bool processorHasSse2) {
    return Parser(arguments, processorHasSse2).Parse();
}

std::string HelpText() {
    return R"(Usage: orv-render [options] EFFECT.orv OUTPUT_BASE

Renders an orv effect into a numbered sequence of PNG images (8-bit RGBA with alpha), one
file per frame, the way the editor's render command does: every emitter starts afresh and
the effect advances by exactly 1/fps seconds per frame, so the same command always writes
the same files. --format writes a sprite sheet or one animated file instead.

EFFECT.orv is an effect saved by the editor; its textures are found relative to it.
OUTPUT_BASE names the files: its folder, its file title without extension, the frame
number in six digits (more past 999999), then ".png". A missing folder is created.
End OUTPUT_BASE with "/" to write bare numbers (000000.png, ...) into that folder.

Options:
  --seconds N           length of the sequence in seconds, N >= 1 (default 10)
  --fps 60|30|20|15     frames per second (default 60)
  --width W             frame width in pixels, 1 to 9999 (default 800)
  --height H            frame height in pixels, 1 to 9999 (default 600)
  --interpolate nearest|bilinear
                        texture sampling: nearest texel or bilinear filtering
                        (default nearest)
  --sse2 on|off         draw with the SSE2 code path (default on where the processor
                        has SSE2)
  --seed N              fix the random draws with seed N, 0 to 18446744073709551615,
                        instead of the effect file's seed (if it has one); seed 0
                        gives the same frames as an effect without a seed
  --start SECONDS       simulate the effect for SECONDS (such as 2 or 1.5, rounded to
                        whole frames) without writing anything, then write frame 0:
                        the render starts from a warm state instead of an empty one
  --frames FIRST-LAST   write only frames FIRST to LAST, numbered and drawn exactly as
                        in the whole render (the frames before are simulated, not
                        drawn): split a long render over several processes
  --loop                write a seamless loop: the seconds x fps frames repeat without
                        a seam (the frame after the last would be frame 0). The
                        particles born during the loop's length after a warm-up are
                        shown at every time the loop comes round; the warm-up is
                        --start when given, else the longest particle life plus
                        delay among the emitters. With --frames, FIRST and LAST are
                        frames of the loop, drawn exactly as in the whole loop
  --threads N           threads that draw each frame (in bands) and that write frames
                        while the next ones are drawn, 1 to 256 (default one per
                        hardware thread); 1 draws and writes each frame in turn on one
                        thread. The files are the same either way
  --png-compression default|fast|small
                        PNG compression: default (libpng's standard settings), fast
                        (several times faster, files about as large) or small
                        (smallest files on sparse effects); the pixels are the same
  --format png|sheet|apng|webp|gif
                        what to write (default png); every format keeps straight alpha:
                          png    the numbered PNG sequence described above
                          sheet  OUTPUT_BASE.png holding the frames in a grid plus
                                 OUTPUT_BASE.json, a "JSON hash" atlas; a page is at
                                 most 8192 pixels a side, further frames go to
                                 OUTPUT_BASE-1.png with OUTPUT_BASE-1.json, and so on
                          apng   OUTPUT_BASE.png, an animated PNG looping forever;
                                 viewers without animation show the first frame
                          webp   OUTPUT_BASE.webp, an animated WebP looping forever,
                                 lossless unless --quality is given
                          gif    OUTPUT_BASE.gif, an animated GIF looping forever, each
                                 frame with its own 255-colour palette; alpha below 128
                                 becomes transparent, the rest opaque
                        These files are written under a temporary name and renamed
                        when the last frame is in: a failed render leaves the files
                        that were there before
  --columns N           sheet: frames per row (default the grid closest to square; at
                        most what fits in 8192 pixels)
  --trim                sheet: cut each frame to its non-transparent pixels; the atlas
                        gives each frame's place in the full frame
  --quality Q           webp: lossy compression at quality Q, 0 to 100
  --quiet               no progress bar and no closing summary
  --help                show this help and exit
  --version             show the version and exit
An option's value may also be joined with "=", as in --fps=30.

Example:
  orv-render --seconds 3 --fps 30 --interpolate bilinear examples/fire.orv out/fire/frame
writes 90 frames, out/fire/frame000000.png to out/fire/frame000089.png.

While it runs, a progress bar with the frames done, the frames per second and the time
left is shown on standard error when that is a terminal.

Exit status: 0 when every frame was written; 1 when the effect file cannot be opened or
does not parse, the output folder cannot be created or a frame cannot be written (one
line on standard error says what and where; frames of a PNG sequence already written
stay, the files of the other formats are left as they were); 2 for wrong usage; 130 when
Ctrl-C or SIGTERM stopped the render (it stops between frames and keeps an unbroken run of
frames of a PNG sequence from the first, and no file of the other formats; a second Ctrl-C
ends it at once).
)";
}

}  // namespace orv
