#include <cstdio>
#include <string>
#include <vector>

#include "cli/render_command.h"
#include "cli/render_options.h"
#include "engine/settings.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const orv::ParsedCommandLine parsed = orv::ParseCommandLine(arguments, orv::ProcessorHasSse2());
    switch (parsed.action) {
        case orv::ParsedCommandLine::Action::kHelp:
            std::fputs(orv::HelpText().c_str(), stdout);
            return orv::kExitSuccess;
        case orv::ParsedCommandLine::Action::kVersion:
            std::printf("orv-render %s\n", ORV_VERSION);
            return orv::kExitSuccess;
        case orv::ParsedCommandLine::Action::kUsageError:
            std::fprintf(stderr, "orv-render: %s\nTry 'orv-render --help' for more information.\n",
                         parsed.error.c_str());
            return orv::kExitUsage;
        case orv::ParsedCommandLine::Action::kRender:
            break;
    }
    return orv::RunRenderCommand(parsed.options);
}
