#include "app/live_reload.h"

#include "check/content_checker.h"
#include "platform/fatal_data_error.h"
#include "platform/loaded_file_recorder.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <memory>

namespace {

// True when the checker's problem lies in one of the files or names one of
// them: a sheet that no longer loads is reported at the key naming it, in
// the unchanged INI file, with the sheet's name in quotes.
bool concernsAny(const ContentProblem& problem, const std::vector<std::string>& files) {
    for (const std::string& file : files) {
        if (problem.file == file) return true;
        if (problem.message.find("\"" + file + "\"") != std::string::npos) return true;
    }
    return false;
}

// One line for stderr and the screen: the report's line breaks become spaces.
std::string oneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

// A fatal data error's own words (which file, what is wrong) without the
// assertion's frame; any other failure as it describes itself.
std::string describe(const std::exception& failure) {
    const auto* fatal = dynamic_cast<const FatalDataError*>(&failure);
    if (fatal != nullptr && !fatal->detail().empty()) return fatal->detail();
    return failure.what();
}

std::string listed(const std::vector<std::string>& files) {
    std::string text;
    for (const std::string& file : files) text += (text.empty() ? "" : ", ") + file;
    return text;
}

}  // namespace

LiveReload::LiveReload(Clock& clock, bool watching) : m_watching(watching), m_watcher(clock) {}

StateFactory LiveReload::wrap(StateFactory factory) {
    m_factory = factory;
    StateFactory wrapped;
    wrapped.createFirstState = [this](GameStateManager* manager) {
        return buildTracked(m_factory.createFirstState, manager);
    };
    wrapped.createLevel = [this](GameStateManager* manager) -> GameState* {
        if (!m_watching) return buildTracked(m_factory.createLevel, manager);
        try {
            GameState* level = buildTracked(m_factory.createLevel, manager);
            m_message.clear();  // whatever failed before works now
            return level;
        } catch (const std::exception& failure) {
            // The menu is gone already; rather than end an author's session,
            // go back to it with the problem shown, and keep an eye on the
            // level's files too.
            const std::vector<std::string> levelFiles = m_watcher.files();
            fail(describe(failure));
            GameState* menu = buildTracked(m_factory.createFirstState, manager);
            m_watcher.add(levelFiles);
            return menu;
        }
    };
    wrapped.rebuildState = m_factory.rebuildState;
    return wrapped;
}

GameState* LiveReload::buildTracked(const std::function<GameState*(GameStateManager*)>& build,
                                    GameStateManager* manager) {
    LoadedFileRecorder recorder;
    try {
        GameState* state = build(manager);
        m_watcher.watch(recorder.files());
        return state;
    } catch (...) {
        m_watcher.watch(recorder.files());  // what the failed build read, so a fix is noticed
        throw;
    }
}

void LiveReload::betweenFrames(GameStateManager& manager) {
    std::vector<std::string> changed;
    if (m_watching) changed = m_watcher.pollIfDue();
    if (m_reloadRequested) {
        // A forced reload still learns what changed, so the checker's
        // errors in those files count.
        for (const std::string& file : m_watcher.poll()) changed.push_back(file);
    }
    if (changed.empty() && !m_reloadRequested) return;  // nothing new: the usual case
    m_reloadRequested = false;
    reload(manager, changed);
}

bool LiveReload::reload(GameStateManager& manager, const std::vector<std::string>& changed) {
    const GameState* current = manager.currentState();
    if (current == nullptr || !m_factory.rebuildState) return false;  // nothing to rebuild
    const std::string cause = changed.empty() ? std::string("on request") : "after a change to " + listed(changed);

    std::unique_ptr<GameState> fresh;
    std::vector<std::string> files;
    {
        LoadedFileRecorder recorder;
        try {
            fresh.reset(m_factory.rebuildState(&manager, *current));
        } catch (const std::exception& failure) {
            m_watcher.add(recorder.files());  // a file the new data names may be the one to fix
            fail(describe(failure));
            return false;
        }
        files = recorder.files();
    }
    if (fresh == nullptr) return false;  // a state the factory cannot rebuild

    const std::vector<std::string> problems = changed.empty() ? std::vector<std::string>() : checkerErrors(changed);
    if (!problems.empty()) {
        m_watcher.add(files);
        fail(problems.front());
        for (size_t i = 1; i < problems.size(); ++i) std::fprintf(stderr, "voltaro: reload: also %s\n", problems[i].c_str());
        return false;
    }

    manager.replaceState(fresh.release());
    m_watcher.watch(files);
    m_message.clear();
    ++m_reloads;
    std::fprintf(stderr, "voltaro: reloaded %s\n", cause.c_str());
    return true;
}

std::vector<std::string> LiveReload::checkerErrors(const std::vector<std::string>& changed) {
    std::vector<std::string> lines;
    const ContentReport report = ContentChecker(".").run();
    for (const ContentProblem& problem : report.problems()) {
        if (problem.severity != ContentProblem::Severity::Error || !concernsAny(problem, changed)) continue;
        lines.push_back(oneLine(ContentReport::formatLine(problem)));
    }
    return lines;
}

void LiveReload::fail(const std::string& problem) {
    const std::string line = oneLine(problem);
    std::fprintf(stderr, "voltaro: reload failed, the game goes on with the data it had: %s\n", line.c_str());
    m_message.show("RELOAD FAILED: " + line);
}
