#pragma once

#include <string>

// Finds the game to play when the command line names none. A working
// directory that holds the game's menu file ("stageselect.ini") is a game
// folder and is played in place, as from a checkout. Otherwise it is the
// game installed with the program: <the executable's folder>/../share/voltaro/game,
// taken from where the executable really is, so that an installation moved
// to another prefix still finds its game.
class GameDataLocator {
public:
    enum class Found { WorkingDirectory, Installed, Nothing };

    // The file whose presence makes a folder a game.
    static constexpr const char* kMarkerFile = "stageselect.ini";

    // `executablePath` may be empty when the executable's location is unknown.
    GameDataLocator(std::string workingDirectory, std::string executablePath);
    // This process: its working directory and its executable (/proc/self/exe).
    static GameDataLocator forThisProcess();

    Found locate() const;
    const std::string& workingDirectory() const { return m_workingDirectory; }
    // Where the installed game belongs (normalised; empty when the
    // executable's location is unknown), whether or not it is there.
    const std::string& installedGame() const { return m_installedGame; }

private:
    std::string m_workingDirectory;
    std::string m_installedGame;
};
