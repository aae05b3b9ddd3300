// The program's entry point: reads the command line and runs the game.
#include "app/application.h"
#include "app/command_line.h"
#include "app/default_state_factory.h"
#include "check/content_checker.h"
#include "level/trace_writer.h"
#include "platform/game_state_manager.h"

#include <sys/stat.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

// `voltaro --check`: reports every problem of the game's data, one per line.
int checkGame(const Options& options) {
    std::string directory = options.checkDirectory;
    if (directory.empty()) directory = options.dataDirectory.empty() ? "." : options.dataDirectory;
    struct stat status {};
    if (stat(directory.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) {
        std::fprintf(stderr, "voltaro: --check: '%s' is not a directory\n", directory.c_str());
        return Application::kExitUsage;
    }
    const ContentReport report = ContentChecker(directory).run();
    std::fputs(report.text().c_str(), stdout);
    std::printf("voltaro --check %s: %s\n", directory.c_str(), report.summary().c_str());
    return report.errorCount() > 0 ? Application::kExitFailure : Application::kExitSuccess;
}

}  // namespace

int main(int argc, char** argv) {
    const CommandLine commandLine = CommandLine::fromMain(argc, argv);
    if (!commandLine.isValid()) {
        std::fprintf(stderr, "voltaro: %s\nTry 'voltaro --help' for the list of options.\n",
                     commandLine.error().c_str());
        return Application::kExitUsage;
    }
    if (commandLine.options().helpRequested) {
        std::fputs(CommandLine::usage().c_str(), stdout);
        return Application::kExitSuccess;
    }
    if (commandLine.options().versionRequested) {
        std::fputs(CommandLine::versionText().c_str(), stdout);
        return Application::kExitSuccess;
    }
    if (commandLine.options().checkRequested) return checkGame(commandLine.options());
    Application application(commandLine.options(), defaultStateFactory());
    std::unique_ptr<TraceWriter> trace;
    if (!application.options().traceFile.empty()) {
        trace = std::make_unique<TraceWriter>(application.options().traceFile);
        if (!trace->isOpen()) {
            std::fprintf(stderr, "voltaro: cannot write the trace file %s\n", application.options().traceFile.c_str());
            return Application::kExitUsage;
        }
        application.setFrameObserver([&trace](uint32_t frame, const GameStateManager& manager) {
            trace->writeFrame(frame, manager.currentState());
        });
    }
    return application.run();
}
