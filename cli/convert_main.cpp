#include <cstdio>
#include <string>
#include <vector>

#include "cli/convert_command.h"
#include "cli/render_command.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const orv::ParsedConvertLine parsed = orv::ParseConvertLine(arguments);
    switch (parsed.action) {
        case orv::ParsedConvertLine::Action::kHelp:
            std::fputs(orv::ConvertHelpText().c_str(), stdout);
            return orv::kExitSuccess;
        case orv::ParsedConvertLine::Action::kVersion:
            std::printf("orv-convert %s\n", ORV_VERSION);
            return orv::kExitSuccess;
        case orv::ParsedConvertLine::Action::kUsageError:
            std::fprintf(stderr, "orv-convert: %s\nTry 'orv-convert --help' for more information.\n",
                         parsed.error.c_str());
            return orv::kExitUsage;
        case orv::ParsedConvertLine::Action::kConvert:
            break;
    }
    return orv::RunConvertCommand(parsed.options);
}
