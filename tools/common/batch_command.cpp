#include "batch_command.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "output_file.h"
#include "source_error.h"

namespace {

constexpr int kExitError = 1;
constexpr int kExitUsage = 2;

struct Job {
    std::string source;
    std::string output;
    std::string bytes;
};

std::vector<Job> jobsFromArguments(const std::vector<std::string>& args, const std::string& extension) {
    std::vector<Job> jobs;
    if (args.size() >= 3 && args[0] == "--batch") {
        const std::filesystem::path outputDir(args[1]);
        for (size_t i = 2; i < args.size(); ++i) {
            const std::filesystem::path source(args[i]);
            jobs.push_back(Job{args[i], (outputDir / source.stem()).string() + extension, std::string()});
        }
    } else if (args.size() == 2 && args[0].rfind("--", 0) != 0) {
        jobs.push_back(Job{args[0], args[1], std::string()});
    }
    return jobs;
}

}  // namespace

std::string BatchCommand::readSource(const std::string& path) {
    std::ifstream file(path, std::ios::in | std::ios::binary);
    if (!file.is_open()) throw SourceError(path, 0, 0, "cannot open the file");
    std::ostringstream buffer;
    buffer << file.rdbuf();
    if (file.bad()) throw SourceError(path, 0, 0, "cannot read the file");
    return buffer.str();
}

int BatchCommand::run(int argc, char** argv, const std::string& usage, const std::string& extension,
                      const Compiler& compile) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::cout << usage;
        return 0;
    }
    std::vector<Job> jobs = jobsFromArguments(args, extension);
    if (jobs.empty()) {
        std::cerr << usage;
        return kExitUsage;
    }
    std::map<std::string, std::string> sourceOf;  // output -> the source that writes it
    for (const Job& job : jobs) {
        const auto [earlier, added] = sourceOf.emplace(job.output, job.source);
        if (!added) {
            std::cerr << "both " << earlier->second << " and " << job.source << " would be written to " << job.output
                      << "\n";
            return kExitUsage;
        }
    }

    bool failed = false;
    for (Job& job : jobs) {
        try {
            job.bytes = compile(readSource(job.source), job.source);
        } catch (const std::runtime_error& error) {
            std::cerr << error.what() << "\n";
            failed = true;
        }
    }
    if (failed) return kExitError;  // nothing written

    for (const Job& job : jobs) {
        try {
            OutputFile::write(job.output, job.bytes);
        } catch (const std::runtime_error& error) {
            std::cerr << error.what() << "\n";
            return kExitError;
        }
    }
    return 0;
}
