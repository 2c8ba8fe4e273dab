// Benchmark of kovrin-report against a floor. For each size it writes a
// synthetic session (10 contacts drawing lines, circles and holds, one
// message per 8 ms report cycle) as touch.log and as touch.csv to a temporary
// file, then times, each in a child process of its own: the floor, the same
// chunked reader counting lines and doing nothing else; and kovrin-report
// itself with its JSON. It prints lines/s, their ratio and the peak memory
// (RSS) of each child.
//   kovrin_report_bench [--runs N] [LINES...]   (default: 10000000 20000000)
#include "report/read/LogReader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {

struct Finger {
    bool down = false;
    std::uint32_t id = 0;
    int left = 0;  // points to go in this stroke, or idle cycles when up
    int shape = 0; // 0 line, 1 circle, 2 hold
    double x = 0, y = 0, dx = 0, dy = 0;
    double cx = 0, cy = 0, radius = 0, angle = 0, step = 0;
};

// Writes touch.log lines, or touch.csv rows with their header.
class CLogWriter {
public:
    CLogWriter(std::FILE* f, bool csv) : m_f(f), m_csv(csv) {
        m_buffer.reserve(BUFFER + 256);
        if (csv) {
            m_buffer += "message,input,announced,event,id,x,y,screen_x,screen_y,slot,time_ms,received_us,"
                        "contact_w,contact_h,flags,client_w,client_h";
            End();
        }
    }

    ~CLogWriter() {
        Flush();
    }

    void Count(int n) {
        if (m_csv) {
            m_message++;
            m_announced = n;
            m_input = 0;
            return;
        }
        m_buffer += "Touch count = ";
        Number(n);
        End();
    }

    // `head` is touch.log's ("DOWN id ="); the position is in hundredths.
    void Input(const char* head, std::uint32_t id, long long hx, long long hy, std::uint32_t timeMs) {
        if (!m_csv) {
            m_buffer += head;
            Number((long long)id);
            m_buffer += ", x = ";
            Number(hx / 100);
            m_buffer += ", y =";
            Number(hy / 100);
            End();
            return;
        }
        Field(m_message);
        Field(m_input++);
        Field(m_announced);
        m_buffer.append(head, head[0] == 'U' ? 2 : 4);
        m_buffer += ',';
        Field(id);
        Field(hx / 100);
        Field(hy / 100);
        Field(hx);
        Field(hy);
        Field(m_input - 1);
        Field(timeMs);
        Field(timeMs * 1000LL);
        Field(1100 + hx % 300);
        Field(1200 + hy % 300);
        Field(head[0] == 'M' ? 0x19 : head[0] == 'D' ? 0x1a : 0x14);
        Field(1920);
        Number(1080);
        End();
    }

    std::uint64_t lines = 0;

private:
    static constexpr std::size_t BUFFER = 1 << 20;

    void Number(long long v) {
        char text[24];
        m_buffer.append(text, std::to_chars(text, text + sizeof text, v).ptr);
    }

    void Field(long long v) {
        Number(v);
        m_buffer += ',';
    }

    void End() {
        m_buffer += "\r\n";
        lines++;
        if (m_buffer.size() >= BUFFER)
            Flush();
    }

    void Flush() {
        std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_f);
        m_buffer.clear();
    }

    std::FILE* m_f;
    bool m_csv;
    std::string m_buffer;
    long long m_message = 0;
    int m_announced = 0;
    int m_input = 0;
};

// Writes about `lines` lines of a realistic session to `path`, as touch.csv
// or as touch.log.
std::uint64_t WriteLog(const std::string& path, std::uint64_t lines, bool csv) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::perror(path.c_str());
        std::exit(2);
    }
    std::mt19937 rng(12);
    auto uniform = [&](double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng); };
    Finger fingers[10];
    std::uint32_t nextId = 1;
    for (Finger& g : fingers)
        g.left = (int)uniform(0, 200);
    auto log = std::make_unique<CLogWriter>(f, csv);
    std::uint32_t time = 4000000000u; // wraps after some 40 minutes of the session
    std::vector<std::pair<const char*, Finger*>> inputs;
    while (log->lines < lines) {
        inputs.clear();
        for (Finger& g : fingers) {
            if (!g.down) {
                if (--g.left > 0)
                    continue;
                g.down = true;
                g.id = nextId++;
                g.shape = (int)uniform(0, 3);
                g.left = (int)uniform(100, 2000);
                g.x = uniform(100, 1800);
                g.y = uniform(100, 1000);
                double a = uniform(0, 6.283), speed = uniform(1, 6);
                g.dx = speed * std::cos(a);
                g.dy = speed * std::sin(a);
                g.radius = uniform(20, std::min({300.0, g.x, 1919 - g.x, g.y / 2}));
                g.cx = g.x;
                g.cy = g.y - g.radius;
                g.angle = 1.5708; // starts at the DOWN point
                g.step = speed / g.radius;
                inputs.push_back({"DOWN id =", &g});
                continue;
            }
            if (--g.left == 0) {
                g.down = false;
                g.left = (int)uniform(10, 300);
                inputs.push_back({"UP   id =", &g});
                continue;
            }
            if (g.shape == 0) { // a ruler line, turned back at the screen's edges
                if (g.x + g.dx < 0 || g.x + g.dx > 1919)
                    g.dx = -g.dx;
                if (g.y + g.dy < 0 || g.y + g.dy > 1079)
                    g.dy = -g.dy;
                g.x += g.dx + uniform(-0.7, 0.7);
                g.y += g.dy + uniform(-0.7, 0.7);
            } else if (g.shape == 1) {
                g.angle += g.step;
                g.x = g.cx + g.radius * std::cos(g.angle);
                g.y = g.cy + g.radius * std::sin(g.angle);
            } else {
                g.x += uniform(-0.5, 0.5) * 0.2;
                g.y += uniform(-0.5, 0.5) * 0.2;
            }
            inputs.push_back({"MOVE id =", &g});
        }
        if (inputs.empty())
            continue;
        // Now and then a message announces more inputs than it carries.
        log->Count((int)inputs.size() + (rng() % 5000 == 0 ? 20 : 0));
        for (auto& [head, g] : inputs)
            log->Input(head, g->id, std::llround(g->x * 100), std::llround(g->y * 100), time);
        time += 8;
    }
    std::uint64_t written = log->lines;
    log.reset(); // flushes
    std::fclose(f);
    return written;
}

double Now() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec + t.tv_nsec * 1e-9;
}

struct Run {
    double seconds = 0;
    long peakKb = 0;
};

// Runs `child` in a process of its own; its wall time and peak RSS.
template <class Child> Run Measure(Child&& child) {
    double start = Now();
    pid_t pid = fork();
    if (pid == 0)
        _exit(child());
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    Run run{Now() - start, usage.ru_maxrss};
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "bench: a child failed (status %d)\n", status);
        std::exit(2);
    }
    return run;
}

// The floor: read every line with the same chunked reader, nothing else.
int Floor(const std::string& path, std::uint64_t lines) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return 1;
    report::CLineReader reader;
    std::uint64_t bytes = 0;
    report::ReadStatus status = reader.Read(
        f, [&](const char* begin, const char* end, std::uint64_t) { bytes += (std::uint64_t)(end - begin); },
        [](std::uint64_t) {});
    std::fclose(f);
    return status.lines == lines && bytes > 0 ? 0 : 1;
}

int Report(const std::string& path) {
    int devNull = open("/dev/null", O_WRONLY);
    dup2(devNull, 1);
    execl(KOVRIN_REPORT_EXE, KOVRIN_REPORT_EXE, path.c_str(), "--json", "/dev/null", (char*)nullptr);
    return 1;
}

Run Median(std::vector<Run> runs) {
    std::sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) { return a.seconds < b.seconds; });
    Run m = runs[runs.size() / 2];
    for (const Run& r : runs)
        m.peakKb = std::max(m.peakKb, r.peakKb);
    return m;
}

} // namespace

int main(int argc, char** argv) {
    int runs = 3;
    std::vector<std::uint64_t> sizes;
    for (int i = 1; i < argc; i++) {
        if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else
            sizes.push_back(std::strtoull(argv[i], nullptr, 10));
    }
    if (sizes.empty())
        sizes = {10000000, 20000000};
    const char* tmp = std::getenv("TMPDIR");
    std::string path = std::string(tmp ? tmp : "/tmp") + "/kovrin-report-bench-XXXXXX";
    int fd = mkstemp(&path[0]);
    if (fd < 0) {
        std::perror("mkstemp");
        return 2;
    }
    close(fd);

    std::printf("kovrin-report benchmark: a synthetic session of 10 contacts (lines, circles, holds) as\n"
                "touch.log and as touch.csv; median of %d runs, each in its own process; peak RSS is the\n"
                "largest of the runs\n\n",
                runs);
    std::printf("%9s %11s %8s | %14s %10s | %14s %10s | %s\n", "file", "lines", "MB", "floor lines/s",
                "floor RSS", "report lines/s", "report RSS", "report/floor time");
    for (std::uint64_t size : sizes)
        for (bool csv : {false, true}) {
            std::uint64_t lines = WriteLog(path, size, csv);
            long long bytes = 0;
            if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
                std::fseek(f, 0, SEEK_END);
                bytes = std::ftell(f);
                std::fclose(f);
            }
            std::vector<Run> floors, reports;
            for (int i = 0; i < runs; i++) {
                floors.push_back(Measure([&] { return Floor(path, lines); }));
                reports.push_back(Measure([&] { return Report(path); }));
            }
            Run floor = Median(floors), full = Median(reports);
            std::printf("%9s %11llu %8.1f | %14.0f %7.1f MB | %14.0f %7.1f MB | %.2f\n",
                        csv ? "touch.csv" : "touch.log", (unsigned long long)lines, bytes / 1048576.0,
                        lines / floor.seconds, floor.peakKb / 1024.0, lines / full.seconds,
                        full.peakKb / 1024.0, full.seconds / floor.seconds);
            std::fflush(stdout);
        }
    std::remove(path.c_str());
    return 0;
}
