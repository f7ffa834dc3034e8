// Start-up of the real program, from the moment it is spawned to its first
// presented frame. The program writes a line to ORINTHAL_TRACE after each
// lifecycle step; the trace here is a FIFO, so each line is timestamped on
// arrival: "tick 1" comes right after the first frame's buffer swap.
//   headless: --snapshot FILE --frames 1 (EGL, no X server)
//   window:   a window of its own on $DISPLAY (Xvfb in scripts/bench); its
//             first tick falls one 50 ms timer period after start-up, as a
//             window timer's does, and that wait is part of the figure.
// Counters: when each lifecycle step ended (ms from the spawn) and the
// program's resident set as each step's line arrived (MB; read from /proc
// at that moment, so approximate), which splits the start-up into its parts.
#include <benchmark/benchmark.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// The steps of start-up, as the trace names them.
constexpr const char* Steps[] = {"create", "create-gl-context", "init-scene", "tick 1"};
constexpr int StepCount = 4;

struct StartTimes {
    double at[StepCount] = {-1, -1, -1, -1};    // seconds from the spawn
    double rssMb[StepCount] = {0, 0, 0, 0};
    double firstFrame = -1;
};

double ResidentMb(pid_t pid)
{
    const std::string path = "/proc/" + std::to_string(pid) + "/status";
    FILE* file = std::fopen(path.c_str(), "r");
    if (file == nullptr) return 0;
    char line[256];
    double kb = 0;
    while (std::fgets(line, sizeof line, file) != nullptr) {
        if (std::strncmp(line, "VmRSS:", 6) == 0) kb = std::atof(line + 6);
    }
    std::fclose(file);
    return kb / 1024;
}

// Spawns the program and reads its trace until the first tick; then ends it.
bool TimeOneStart(const std::vector<std::string>& arguments, StartTimes* times, std::string* error)
{
    char folder[] = "/tmp/orinthal-startup-XXXXXX";
    if (mkdtemp(folder) == nullptr) {
        *error = "mkdtemp failed";
        return false;
    }
    const std::string fifo = std::string(folder) + "/trace";
    const std::string config = std::string(folder) + "/config";
    if (mkfifo(fifo.c_str(), 0600) != 0) {
        *error = "mkfifo failed";
        return false;
    }
    const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);

    std::vector<std::string> environment = {"ORINTHAL_TRACE=" + fifo, "XDG_CONFIG_HOME=" + config};
    for (char** entry = environ; *entry != nullptr; ++entry) {
        if (std::strncmp(*entry, "ORINTHAL_TRACE=", 15) != 0 && std::strncmp(*entry, "XDG_CONFIG_HOME=", 16) != 0) {
            environment.emplace_back(*entry);
        }
    }
    std::vector<char*> envp;
    for (std::string& entry : environment) envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::vector<std::string> argvStrings = arguments;
    std::vector<char*> argv;
    for (std::string& argument : argvStrings) argv.push_back(argument.data());
    argv.push_back(nullptr);

    const Clock::time_point start = Clock::now();
    pid_t child = 0;
    if (posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), envp.data()) != 0) {
        *error = "cannot start " + arguments[0];
        close(reader);
        return false;
    }

    std::string pending;
    const Clock::time_point limit = start + std::chrono::seconds(30);
    while (times->firstFrame < 0 && Clock::now() < limit) {
        pollfd watched{reader, POLLIN, 0};
        poll(&watched, 1, 100);
        char buffer[512];
        const ssize_t got = read(reader, buffer, sizeof buffer);
        const double now = std::chrono::duration<double>(Clock::now() - start).count();
        if (got > 0) {
            pending.append(buffer, static_cast<std::size_t>(got));
        }
        std::size_t end;
        while ((end = pending.find('\n')) != std::string::npos) {
            const std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            for (int step = 0; step < StepCount; ++step) {
                const std::string name = Steps[step];
                if (line == name || (step == 0 && line.rfind("create ", 0) == 0)) {
                    times->at[step] = now;
                    times->rssMb[step] = ResidentMb(child);
                }
            }
            if (line == "tick 1") times->firstFrame = now;
        }
        int status = 0;
        if (times->firstFrame < 0 && waitpid(child, &status, WNOHANG) == child) {
            child = 0;
            break;
        }
    }
    if (child != 0) {
        kill(child, SIGTERM);
        int status = 0;
        waitpid(child, &status, 0);
    }
    close(reader);
    const std::string cleanup = std::string("rm -rf '") + folder + "'";
    [[maybe_unused]] int removed = std::system(cleanup.c_str());
    if (times->firstFrame < 0) {
        *error = "no first frame within 30 s";
        return false;
    }
    return true;
}

void StartUp(benchmark::State& state, bool headless)
{
    const char* program = std::getenv("ORINTHAL_PROGRAM");
    if (program == nullptr) program = ORINTHAL_PROGRAM_PATH;
    if (!headless && std::getenv("DISPLAY") == nullptr) {
        state.SkipWithError("no DISPLAY for the window case");
        return;
    }
    std::vector<std::string> arguments = {program};
    if (headless) {
        arguments.insert(arguments.end(), {"--snapshot", "/tmp/orinthal-startup-bench.png", "--frames", "1"});
    }
    double at[StepCount] = {};
    double rss[StepCount] = {};
    for (auto _ : state) {
        StartTimes times;
        std::string error;
        if (!TimeOneStart(arguments, &times, &error)) {
            state.SkipWithError(error.c_str());
            return;
        }
        state.SetIterationTime(times.firstFrame);
        for (int step = 0; step < StepCount; ++step) {
            at[step] += times.at[step];
            rss[step] += times.rssMb[step];
        }
    }
    const char* names[StepCount] = {"create", "gl_context", "init_scene", "first_frame"};
    for (int step = 0; step < StepCount; ++step) {
        state.counters[std::string(names[step]) + "_ms"] =
            benchmark::Counter(at[step] * 1000, benchmark::Counter::kAvgIterations);
        state.counters[std::string(names[step]) + "_rss_mb"] =
            benchmark::Counter(rss[step], benchmark::Counter::kAvgIterations);
    }
    std::remove("/tmp/orinthal-startup-bench.png");
}

void HeadlessToFirstFrame(benchmark::State& state) { StartUp(state, true); }
void WindowToFirstFrame(benchmark::State& state) { StartUp(state, false); }

BENCHMARK(HeadlessToFirstFrame)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(WindowToFirstFrame)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
