// The program's entry point: reads the command line and runs the game.
#include "app/application.h"
#include "app/command_line.h"
#include "app/game_state_manager.h"
#include "app/state_factory.h"
#include "world/trace_writer.h"

#include <cstdio>
#include <memory>

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
