// What the dynamic loader alone costs each program at start: two programs
// that return at once, one linked against every library the editor loads, the
// other against those a bare Qt Quick window with Controls loads by its first
// frame. Their difference is a floor under the editor's start beside the bare
// window's (memory_footprint prints both starts).
// Usage: build/bench/library_floor [ROUNDS=60]
#include <QByteArray>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>

extern char **environ;

namespace {

double nowMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Milliseconds from spawning the program to reaping it, or -1.
double startAndEnd(const char *path)
{
    char *argv[] = {const_cast<char *>(path), nullptr};
    const double start = nowMs();
    pid_t pid = 0;
    if (posix_spawn(&pid, path, nullptr, nullptr, argv, environ) != 0)
        return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return nowMs() - start;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    const int rounds = std::max(1, argc > 1 ? QByteArray(argv[1]).toInt() : 60);
    std::vector<double> editor, bare;
    // In turn, so that the machine's drift falls on both.
    for (int i = 0; i < rounds; ++i) {
        editor.push_back(startAndEnd(MAVU_EDITOR_LIBRARIES_PATH));
        bare.push_back(startAndEnd(MAVU_BARE_LIBRARIES_PATH));
    }
    if (std::count(editor.begin(), editor.end(), -1.0) + std::count(bare.begin(), bare.end(), -1.0) > 0) {
        std::fprintf(stderr, "library_floor: a program did not start or end cleanly\n");
        return 1;
    }
    const double e = median(editor);
    const double b = median(bare);
    std::printf("start and end, median of %d: editor's libraries %.1f ms, bare window's %.1f ms, difference %.1f ms\n",
        rounds, e, b, e - b);
    return 0;
}
