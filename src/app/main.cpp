// The program's entry point: reads the command line, finds the game and runs it.
#include "app/application.h"
#include "app/command_line.h"
#include "app/default_state_factory.h"
#include "check/content_checker.h"
#include "level/level.h"
#include "level/trace_writer.h"
#include "platform/game_data_locator.h"
#include "platform/game_state_manager.h"

#ifdef __EMSCRIPTEN__
#include "app/web/browser_run.h"
#endif

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

// Writes a text that is the program's whole output (--version,
// --player-template) to standard output; a failed write (a full disk, a
// closed pipe) is reported and ends the program with a failure.
int printOutput(const std::string& text) {
    if (std::fputs(text.c_str(), stdout) == EOF || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "voltaro: cannot write to standard output\n");
        return Application::kExitFailure;
    }
    return Application::kExitSuccess;
}

// Where the game was looked for, for a run that found none.
std::string placesLookedAt(const GameDataLocator& locator) {
    const std::string installed = locator.installedGame().empty() ? "unknown" : locator.installedGame();
    return "neither the current directory (" + locator.workingDirectory() + ") nor the installed game (" +
           installed + ") holds " + GameDataLocator::kMarkerFile;
}

// Everything before the game's first frame. Returns the exit status of a
// program that ends without playing (a bad command line, --help, --check,
// no game to be found, an unwritable trace), or Application::kRunning with
// the application and its trace ready to run.
int prepare(int argc, char** argv, std::unique_ptr<Application>& application, std::unique_ptr<TraceWriter>& trace) {
    const CommandLine commandLine = CommandLine::fromMain(argc, argv);
    if (!commandLine.isValid()) {
        std::fprintf(stderr, "voltaro: %s\nTry 'voltaro --help' for the list of options.\n",
                     commandLine.error().c_str());
        return Application::kExitUsage;
    }
    Options options = commandLine.options();
    const GameDataLocator locator = GameDataLocator::forThisProcess();
    bool gameFound = true;  // --data names the game's folder
    if (options.dataDirectory.empty()) {
        const GameDataLocator::Found found = locator.locate();
        if (found == GameDataLocator::Found::Installed) options.dataDirectory = locator.installedGame();
        gameFound = found != GameDataLocator::Found::Nothing;
    }
    if (options.helpRequested) {
        std::fputs(CommandLine::usage().c_str(), stdout);
        if (!gameFound) std::printf("\nNo game found: %s.\n", placesLookedAt(locator).c_str());
        return Application::kExitSuccess;
    }
    if (options.versionRequested) return printOutput(CommandLine::versionText());
    if (options.playerTemplateRequested) return printOutput(Level::playerFileTemplate());
    if (options.checkRequested) return checkGame(options);
    if (!gameFound) {
        std::fprintf(stderr, "voltaro: no game to play: %s; name the game's folder with --data DIR (see voltaro --help)\n",
                     placesLookedAt(locator).c_str());
        return Application::kExitUsage;
    }

    application.reset(new Application(options, defaultStateFactory()));
    if (!application->options().traceFile.empty()) {
        trace.reset(new TraceWriter(application->options().traceFile));
        if (!trace->isOpen()) {
            std::fprintf(stderr, "voltaro: cannot write the trace file %s\n", application->options().traceFile.c_str());
            return Application::kExitUsage;
        }
        TraceWriter* writer = trace.get();
        application->setFrameObserver([writer](uint32_t frame, const GameStateManager& manager) {
            writer->writeFrame(frame, manager.currentState());
        });
    }
    return Application::kRunning;
}

}  // namespace

int main(int argc, char** argv) {
    std::unique_ptr<Application> application;
    std::unique_ptr<TraceWriter> trace;
    const int status = prepare(argc, argv, application, trace);
#ifdef __EMSCRIPTEN__
    // The browser wakes the game at every display refresh from here on.
    return BrowserRun::start(status, std::move(application), std::move(trace));
#else
    if (status != Application::kRunning) return status;
    const int result = application->run();
    application.reset();  // before the trace it reports to
    return result;
#endif
}
