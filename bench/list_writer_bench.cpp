// The list writer against GNU `ls -f -1 > file` on folders of empty files.
// Each run is its own process (list_writer_once for the writer), started and
// waited for the same way as ls, so start-up costs match and wait4 gives each
// run's own peak memory. The two alternate within a round; the figures are
// medians over the rounds.
//
//   list_writer_bench [--data DIR] [--writer PATH] [--ls PATH] [--size N:ROUNDS]...
//   list_writer_bench --make-folder DIR N
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <limits.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

[[noreturn]] void Fail(const std::string& message) {
    std::fprintf(stderr, "list_writer_bench: %s\n", message.c_str());
    std::exit(1);
}

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        Fail("cannot read " + path);
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A folder of `count` empty files, made once. The mark beside it (not inside,
// where it would be listed) says it is whole; an interrupted filling is taken
// up again, since existing files are simply opened.
void EnsureFolder(const std::string& folder, unsigned count) {
    const std::string mark = folder + ".complete";
    const std::string expected = std::to_string(count) + "\n";
    struct stat st {};
    if (::stat(mark.c_str(), &st) == 0 && ReadWhole(mark) == expected) {
        return;
    }
    std::fprintf(stderr, "list_writer_bench: making %u empty files in %s\n", count, folder.c_str());
    if (::mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) {
        Fail("cannot make " + folder);
    }
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) {
        Fail("cannot open " + folder);
    }
    char name[32];
    for (unsigned i = 1; i <= count; ++i) {
        std::snprintf(name, sizeof name, "file_%07u.dat", i);
        const int fd = ::openat(dir, name, O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) {
            Fail(std::string("cannot create ") + name + " in " + folder);
        }
        ::close(fd);
    }
    ::close(dir);
    std::ofstream(mark) << expected;
}

struct Run {
    double seconds = 0;
    long peakKiB = 0;
};

double Now() {
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// Starts `args` (searched in PATH), with stdout into `output` when it is not
// empty, and waits for it. fork, not vfork or posix_spawn: a child sharing
// this process's memory would carry this process's peak into its own max RSS.
// A forked child starts from this process's current anonymous pages only,
// which are few while nothing is held (see the floor row).
Run Spawn(const std::vector<std::string>& args, const std::string& output,
          const std::vector<char*>& env) {
    std::vector<char*> argv;
    for (const std::string& a : args) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    Run run;
    const double start = Now();
    const pid_t pid = ::fork();
    if (pid < 0) {
        Fail("fork failed");
    }
    if (pid == 0) {
        if (!output.empty()) {
            const int fd = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
            if (fd < 0 || ::dup2(fd, STDOUT_FILENO) < 0) {
                ::_exit(126);
            }
            ::close(fd);
        }
        ::execvpe(argv[0], argv.data(), env.data());
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    while (::wait4(pid, &status, 0, &usage) < 0) {
        if (errno != EINTR) {
            Fail("wait4 failed");
        }
    }
    run.seconds = Now() - start;
    run.peakKiB = usage.ru_maxrss;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        Fail(args[0] + " failed (status " + std::to_string(status) + ")");
    }
    return run;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Size {
    unsigned entries = 0;
    unsigned rounds = 0;
};

struct Result {
    Size size;
    double writerSeconds = 0;
    double lsSeconds = 0;
    double ratio = 0;
    long writerPeakKiB = 0;
    long lsPeakKiB = 0;
};

struct Setup {
    std::string data = SKIMDEX_BENCH_DATA;
    std::string writer;
    std::string ls = "ls";
    std::vector<char*> env;
};

// ls's output with LF turned into CR LF must be the writer's, byte for byte:
// the same names in the same order, "." and ".." included.
void CheckSameList(const std::string& writerOut, const std::string& lsOut, unsigned entries) {
    const std::string written = ReadWhole(writerOut);
    const std::string listed = ReadWhole(lsOut);
    std::string expected;
    expected.reserve(listed.size() + entries + 2);
    for (char c : listed) {
        if (c == '\n') {
            expected += '\r';
        }
        expected += c;
    }
    if (written != expected) {
        Fail("the writer's list differs from ls's (" + writerOut + ", " + lsOut + ")");
    }
    const auto lines = static_cast<unsigned>(std::count(listed.begin(), listed.end(), '\n'));
    if (lines != entries + 2) {
        Fail("the folder holds " + std::to_string(lines) + " entries, not " +
             std::to_string(entries + 2) + "; remove it so it is made again");
    }
}

Result Measure(const Setup& setup, Size size) {
    const std::string folder = setup.data + "/native-" + std::to_string(size.entries);
    EnsureFolder(folder, size.entries);
    const std::string writerOut = setup.data + "/native-writer.txt";
    const std::string lsOut = setup.data + "/native-ls.txt";
    const std::vector<std::string> writerArgs = {setup.writer, folder, writerOut};
    const std::vector<std::string> lsArgs = {setup.ls, "-f", "-1", folder};

    // Both start from no target, as `> file` on a fresh name.
    auto writer = [&] {
        ::unlink(writerOut.c_str());
        return Spawn(writerArgs, "", setup.env);
    };
    auto ls = [&] {
        ::unlink(lsOut.c_str());
        return Spawn(lsArgs, lsOut, setup.env);
    };

    // A first untimed pass of each brings the folder into the caches.
    writer();
    ls();
    CheckSameList(writerOut, lsOut, size.entries);

    std::vector<double> writerTimes, lsTimes, ratios;
    Result result;
    result.size = size;
    for (unsigned round = 0; round < size.rounds; ++round) {
        Run w, l;
        if (round % 2 == 0) {
            w = writer();
            l = ls();
        } else {
            l = ls();
            w = writer();
        }
        writerTimes.push_back(w.seconds);
        lsTimes.push_back(l.seconds);
        ratios.push_back(w.seconds / l.seconds);
        result.writerPeakKiB = std::max(result.writerPeakKiB, w.peakKiB);
        result.lsPeakKiB = std::max(result.lsPeakKiB, l.peakKiB);
        std::printf("  %7u entries, round %u: writer %.4f s (%ld KiB), ls %.4f s (%ld KiB)\n",
                    size.entries, round + 1, w.seconds, w.peakKiB, l.seconds, l.peakKiB);
        std::fflush(stdout);
    }
    ::unlink(writerOut.c_str());
    ::unlink(lsOut.c_str());
    result.writerSeconds = Median(writerTimes);
    result.lsSeconds = Median(lsTimes);
    result.ratio = Median(ratios);
    return result;
}

std::string Beside(const char* argv0, const std::string& name) {
    char self[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    std::string path = n > 0 ? std::string(self, static_cast<std::size_t>(n)) : argv0;
    const std::size_t slash = path.rfind('/');
    return (slash == std::string::npos ? std::string(".") : path.substr(0, slash)) + "/" + name;
}

Size ParseSize(const std::string& text) {
    Size size;
    if (std::sscanf(text.c_str(), "%u:%u", &size.entries, &size.rounds) != 2 || size.entries == 0 ||
        size.rounds == 0) {
        Fail("a size is ENTRIES:ROUNDS, not " + text);
    }
    return size;
}

} // namespace

int main(int argc, char** argv) {
    Setup setup;
    setup.writer = Beside(argv[0], "list_writer_once");
    std::vector<Size> sizes;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--make-folder" && i + 2 < argc) {
            const unsigned long count = std::strtoul(argv[i + 2], nullptr, 10);
            if (count == 0 || count > 10000000) {
                Fail(std::string("not a count of files: ") + argv[i + 2]);
            }
            EnsureFolder(argv[i + 1], static_cast<unsigned>(count));
            return 0;
        } else if (arg == "--data" && hasValue) {
            setup.data = argv[++i];
        } else if (arg == "--writer" && hasValue) {
            setup.writer = argv[++i];
        } else if (arg == "--ls" && hasValue) {
            setup.ls = argv[++i];
        } else if (arg == "--size" && hasValue) {
            sizes.push_back(ParseSize(argv[++i]));
        } else {
            Fail("unknown argument " + arg);
        }
    }
    if (sizes.empty()) {
        sizes = {{100000, 7}, {1000000, 5}};
    }
    if (::mkdir(setup.data.c_str(), 0777) != 0 && errno != EEXIST) {
        Fail("cannot make " + setup.data);
    }

    // ls in the C locale: its quickest, plainest output.
    static char cLocale[] = "LC_ALL=C";
    for (char** e = environ; *e != nullptr; ++e) {
        if (std::strncmp(*e, "LC_ALL=", 7) != 0) {
            setup.env.push_back(*e);
        }
    }
    setup.env.push_back(cLocale);
    setup.env.push_back(nullptr);

    std::printf("Native: the list writer (list_writer_once) against `%s -f -1 > file`\n",
                setup.ls.c_str());
    std::vector<Result> results;
    for (const Size& size : sizes) {
        results.push_back(Measure(setup, size));
    }

    // What starting any program this way costs, and the least max RSS it shows.
    std::vector<double> startTimes;
    long startPeakKiB = 0;
    for (int i = 0; i < 5; ++i) {
        const Run run = Spawn({"true"}, "", setup.env);
        startTimes.push_back(run.seconds);
        startPeakKiB = std::max(startPeakKiB, run.peakKiB);
    }

    std::printf("\n%9s %7s %11s %11s %10s %12s %12s\n", "entries", "rounds", "writer (s)", "ls (s)",
                "writer/ls", "writer peak", "ls peak");
    for (const Result& r : results) {
        std::printf("%9u %7u %11.4f %11.4f %10.3f %8ld KiB %8ld KiB\n", r.size.entries,
                    r.size.rounds, r.writerSeconds, r.lsSeconds, r.ratio, r.writerPeakKiB,
                    r.lsPeakKiB);
    }
    std::printf("%9s %7u %11.4f %11s %10s %12s %8ld KiB\n", "`true`", 5u, Median(startTimes), "",
                "", "", startPeakKiB);
    std::printf("(times and writer/ls: medians over the rounds; peaks: the largest max RSS;\n"
                " `true`: a program that does nothing, started the same way)\n");

    bool ratioMet = true;
    long lowest = results.front().writerPeakKiB, highest = lowest;
    for (const Result& r : results) {
        ratioMet = ratioMet && r.ratio <= 0.95;
        lowest = std::min(lowest, r.writerPeakKiB);
        highest = std::max(highest, r.writerPeakKiB);
    }
    std::printf("aim writer/ls <= 0.95 at every size: %s\n", ratioMet ? "met" : "MISSED");
    std::printf("aim writer peak flat (spread <= 1024 KiB): %ld KiB spread, %s\n", highest - lowest,
                highest - lowest <= 1024 ? "met" : "MISSED");
    return 0;
}
