// The Windows list writer against the least any list needs, a
// FindFirstFileA/FindNextFileA loop that only counts, and against
// `cmd /c dir /b /a > file`. Everything but cmd runs in this one process; the
// contenders alternate and the figures are medians over the rounds.
//
//   win32_list_bench FOLDER OUTDIR [--rounds N] [--peer FOLDER] [--peer-rounds N]
//
// FOLDER is listed against the floor (--rounds 0: not at all); the peer, far
// slower, is met on its own folder. OUTDIR takes the lists written.
#include "listing/list_writer.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

[[noreturn]] void Fail(const std::string& message) {
    std::fprintf(stderr, "win32_list_bench: %s\n", message.c_str());
    std::exit(1);
}

double Seconds() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::string WithSeparator(std::string folder) {
    if (folder.empty() || folder.back() != '\\') {
        folder += '\\';
    }
    return folder;
}

// The floor: every entry fetched, nothing done with it.
unsigned long CountEntries(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE scan = FindFirstFileA((folder + "*.*").c_str(), &found);
    if (scan == INVALID_HANDLE_VALUE) {
        Fail("cannot scan " + folder);
    }
    unsigned long count = 1;
    while (FindNextFileA(scan, &found)) {
        ++count;
    }
    FindClose(scan);
    return count;
}

// The list as it must be: the names in the order the system yields them.
std::string ExpectedList(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE scan = FindFirstFileA((folder + "*.*").c_str(), &found);
    if (scan == INVALID_HANDLE_VALUE) {
        Fail("cannot scan " + folder);
    }
    std::string list;
    do {
        list += found.cFileName;
        list += "\r\n";
    } while (FindNextFileA(scan, &found));
    FindClose(scan);
    return list;
}

std::string ReadWhole(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        Fail("cannot read " + path);
    }
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        bytes.append(buffer, got);
    }
    CloseHandle(file);
    return bytes;
}

// Each contender starts from no target, as `> file` on a fresh name.
double TimeWriter(const std::string& folder, const std::string& target) {
    DeleteFileA(target.c_str());
    const double start = Seconds();
    const listing::ListOutcome outcome =
        listing::WriteFolderList(folder, listing::CaseMode::AsIs, target);
    const double seconds = Seconds() - start;
    if (outcome != listing::ListOutcome::Created) {
        Fail("the writer did not create " + target);
    }
    return seconds;
}

double TimeFloor(const std::string& folder, unsigned long* count) {
    const double start = Seconds();
    *count = CountEntries(folder);
    return Seconds() - start;
}

struct CmdRun {
    double seconds = 0;
    DWORD code = 1;
};

// Runs `cmd /c <command>` and waits for it.
CmdRun TimeCmd(const std::string& command) {
    std::string line = "cmd.exe /c " + command;
    // As a shell starts it: this process's standard handles, so that what cmd
    // says on stderr is seen.
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    CmdRun run;
    const double start = Seconds();
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &process)) {
        Fail("cannot start " + line);
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    run.seconds = Seconds() - start;
    GetExitCodeProcess(process.hProcess, &run.code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return run;
}

// dir holds every entry before it writes any: on a large folder it can run
// out of memory, which is reported, not taken for a time.
CmdRun TimeDir(const std::string& folder, const std::string& target) {
    DeleteFileA(target.c_str());
    const std::string bare = folder.substr(0, folder.size() - 1);
    return TimeCmd("dir /b /a \"" + bare + "\" > \"" + target + "\"");
}

void CheckList(const std::string& folder, const std::string& target) {
    if (ReadWhole(target) != ExpectedList(folder)) {
        Fail("the list in " + target + " is not the folder's entries in the system's order");
    }
}

// The writer against the floor; returns the median of the rounds' ratios.
double MeasureAgainstFloor(const std::string& folder, const std::string& writerOut,
                           unsigned rounds) {
    std::printf("Windows: the list writer against a FindFirstFileA/FindNextFileA loop that only "
                "counts\n");
    // An untimed pass of each fills the caches; the list is checked once.
    unsigned long entries = 0;
    TimeFloor(folder, &entries);
    TimeWriter(folder, writerOut);
    CheckList(folder, writerOut);

    std::vector<double> floorTimes, writerTimes, ratios;
    for (unsigned round = 0; round < rounds; ++round) {
        double f = 0, w = 0;
        unsigned long counted = 0;
        if (round % 2 == 0) {
            f = TimeFloor(folder, &counted);
            w = TimeWriter(folder, writerOut);
        } else {
            w = TimeWriter(folder, writerOut);
            f = TimeFloor(folder, &counted);
        }
        floorTimes.push_back(f);
        writerTimes.push_back(w);
        ratios.push_back(w / f);
        std::printf("  %lu entries, round %u: floor %.3f s, writer %.3f s\n", counted, round + 1, f,
                    w);
        std::fflush(stdout);
    }
    const double ratio = Median(ratios);
    std::printf("\n%9s %7s %10s %11s %13s\n", "entries", "rounds", "floor (s)", "writer (s)",
                "writer/floor");
    std::printf("%9lu %7u %10.3f %11.3f %13.3f\n", entries, rounds, Median(floorTimes),
                Median(writerTimes), ratio);
    std::fflush(stdout);
    DeleteFileA(writerOut.c_str());
    return ratio;
}

// cmd's dir, its start-up apart, with the writer and the floor on the same
// folder for scale.
void MeasurePeer(const std::string& peer, const std::string& writerOut, const std::string& cmdOut,
                 unsigned rounds) {
    std::printf("\nPeer: `cmd /c dir /b /a > file`, on its own folder\n");
    unsigned long entries = 0;
    TimeFloor(peer, &entries);
    std::vector<double> dirTimes, writerTimes, floorTimes, startTimes, dirRatios, floorRatios;
    for (unsigned round = 0; round < rounds; ++round) {
        unsigned long counted = 0;
        double w = 0, f = 0;
        CmdRun bare, dir;
        if (round % 2 == 0) {
            bare = TimeCmd("exit 0");
            dir = TimeDir(peer, cmdOut);
            w = TimeWriter(peer, writerOut);
            f = TimeFloor(peer, &counted);
        } else {
            f = TimeFloor(peer, &counted);
            w = TimeWriter(peer, writerOut);
            dir = TimeDir(peer, cmdOut);
            bare = TimeCmd("exit 0");
        }
        if (bare.code != 0) {
            Fail("cmd /c exit 0 failed");
        }
        if (dir.code != 0) {
            std::printf("  %lu entries, round %u: dir FAILED with exit code %lu after %.3f s "
                        "(Wine's cmd exits 1 when out of memory); writer %.3f s, floor %.3f s\n",
                        counted, round + 1, static_cast<unsigned long>(dir.code), dir.seconds, w,
                        f);
            break;
        }
        // dir leaves out "." and "..".
        const std::string listed = ReadWhole(cmdOut);
        const auto lines =
            static_cast<unsigned long>(std::count(listed.begin(), listed.end(), '\n'));
        if (lines + 2 != counted) {
            Fail("dir listed " + std::to_string(lines) + " names of " + std::to_string(counted));
        }
        startTimes.push_back(bare.seconds);
        dirTimes.push_back(dir.seconds);
        writerTimes.push_back(w);
        floorTimes.push_back(f);
        dirRatios.push_back(w / dir.seconds);
        floorRatios.push_back(w / f);
        std::printf("  %lu entries, round %u: cmd start alone %.3f s, dir %.3f s, writer %.3f s, "
                    "floor %.3f s\n",
                    counted, round + 1, bare.seconds, dir.seconds, w, f);
        std::fflush(stdout);
    }
    CheckList(peer, writerOut);
    if (!dirTimes.empty()) {
        std::printf("\n%9s %7s %10s %11s %10s %14s %11s %13s\n", "entries", "rounds", "floor (s)",
                    "writer (s)", "dir (s)", "cmd start (s)", "writer/dir", "writer/floor");
        std::printf("%9lu %7u %10.3f %11.3f %10.3f %14.3f %11.4f %13.3f\n", entries,
                    static_cast<unsigned>(dirTimes.size()), Median(floorTimes), Median(writerTimes),
                    Median(dirTimes), Median(startTimes), Median(dirRatios), Median(floorRatios));
    }
    DeleteFileA(writerOut.c_str());
    DeleteFileA(cmdOut.c_str());
}

unsigned Number(const char* text, unsigned least) {
    char* end = nullptr;
    const unsigned long n = std::strtoul(text, &end, 10);
    if (end == text || *end != '\0' || n < least || n > 1000) {
        Fail(std::string("not a count of rounds: ") + text);
    }
    return static_cast<unsigned>(n);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        Fail("usage: win32_list_bench FOLDER OUTDIR [--rounds N] [--peer FOLDER] "
             "[--peer-rounds N]");
    }
    const std::string folder = WithSeparator(argv[1]);
    const std::string out = WithSeparator(argv[2]);
    unsigned rounds = 7;
    unsigned peerRounds = 1;
    std::string peer;
    if ((argc - 3) % 2 != 0) {
        Fail(std::string("no value after ") + argv[argc - 1]);
    }
    for (int i = 3; i + 1 < argc; i += 2) {
        const std::string arg = argv[i];
        if (arg == "--rounds") {
            rounds = Number(argv[i + 1], 0);
        } else if (arg == "--peer") {
            peer = WithSeparator(argv[i + 1]);
        } else if (arg == "--peer-rounds") {
            peerRounds = Number(argv[i + 1], 1);
        } else {
            Fail("unknown argument " + arg);
        }
    }
    const std::string writerOut = out + "win-writer.txt";
    const std::string cmdOut = out + "win-cmd.txt";

    double ratio = 0;
    if (rounds > 0) {
        ratio = MeasureAgainstFloor(folder, writerOut, rounds);
    }
    if (!peer.empty()) {
        MeasurePeer(peer, writerOut, cmdOut, peerRounds);
    }
    std::printf("(medians over the rounds; entries include \".\" and \"..\")\n");
    if (rounds > 0) {
        std::printf("aim writer/floor <= 1.1: %.3f, %s\n", ratio, ratio <= 1.1 ? "met" : "MISSED");
    }
    return 0;
}
