#include "platform/loaded_file_recorder.h"

#include <algorithm>

namespace {
LoadedFileRecorder* g_pActiveRecorder = nullptr;
}  // namespace

LoadedFileRecorder::LoadedFileRecorder() : m_pOuter(g_pActiveRecorder) {
    g_pActiveRecorder = this;
}

LoadedFileRecorder::~LoadedFileRecorder() {
    g_pActiveRecorder = m_pOuter;
}

void LoadedFileRecorder::noteRead(const std::string& fileName) {
    if (g_pActiveRecorder == nullptr || fileName.empty()) return;  // nobody is listening
    std::vector<std::string>& files = g_pActiveRecorder->m_files;
    if (std::find(files.begin(), files.end(), fileName) == files.end()) files.push_back(fileName);
}
