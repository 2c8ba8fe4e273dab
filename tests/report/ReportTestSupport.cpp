#include "ReportTestSupport.h"

#include "report/read/CsvReader.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace reporttest {

namespace {

std::string Input(const char* head, std::uint32_t id, std::int32_t x, std::int32_t y) {
    return std::string(head) + std::to_string(id) + ", x = " + std::to_string(x) +
           ", y =" + std::to_string(y) + "\r\n";
}

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

} // namespace

std::string Count(int n) {
    return "Touch count = " + std::to_string(n) + "\r\n";
}

std::string Down(std::uint32_t id, std::int32_t x, std::int32_t y) {
    return Input("DOWN id =", id, x, y);
}

std::string Move(std::uint32_t id, std::int32_t x, std::int32_t y) {
    return Input("MOVE id =", id, x, y);
}

std::string Up(std::uint32_t id, std::int32_t x, std::int32_t y) {
    return Input("UP   id =", id, x, y);
}

CCsv& CCsv::Message(int announced, std::uint64_t receivedUs) {
    if (m_text.empty())
        m_text = std::string(TOUCH_CSV_COLUMNS) + "\r\n";
    m_message++;
    m_announced = announced;
    m_receivedUs = receivedUs;
    m_input = 0;
    return *this;
}

CCsv& CCsv::Input(const char* event, std::uint32_t id, std::int32_t hx, std::int32_t hy, std::uint32_t timeMs,
                  std::uint32_t contactW, std::uint32_t contactH) {
    std::string size = contactW ? std::to_string(contactW) + "," + std::to_string(contactH) : ",";
    m_text += std::to_string(m_message) + "," + std::to_string(m_input++) + "," +
              std::to_string(m_announced) + "," + event + "," + std::to_string(id) + "," +
              std::to_string(hx / 100) + "," + std::to_string(hy / 100) + "," + std::to_string(hx) + "," +
              std::to_string(hy) + ",0," + std::to_string(timeMs) + "," + std::to_string(m_receivedUs) + "," +
              size + ",0,1920,1080\r\n";
    m_lines++;
    return *this;
}

report::Report Analyse(std::FILE* input, const report::Options& options) {
    report::CAnalyser analyser(options,
                               [&](const report::Stroke& s) { return report::StrokeFails(s, options); });
    report::InputStatus status = report::ReadInput(input, analyser);
    return analyser.Finish(status);
}

report::Report Analyse(const std::string& log, const report::Options& options) {
    std::FILE* f = std::tmpfile();
    if (!f)
        std::abort();
    std::fwrite(log.data(), 1, log.size(), f);
    std::rewind(f);
    report::Report r = Analyse(f, options);
    std::fclose(f);
    return r;
}

CTempDir::CTempDir() {
    char pattern[] = "/tmp/kovrin-report-test-XXXXXX";
    const char* dir = mkdtemp(pattern);
    if (!dir)
        std::abort();
    m_dir = dir;
}

CTempDir::~CTempDir() {
    std::system(("rm -rf " + Quote(m_dir)).c_str());
}

std::string CTempDir::Path(const std::string& name) const {
    return m_dir + "/" + name;
}

std::string CTempDir::Write(const std::string& name, const std::string& content) const {
    std::string path = Path(name);
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

RunResult RunReport(const std::vector<std::string>& args, const std::string& stdinPath) {
    CTempDir dir;
    std::string command = Quote(KOVRIN_REPORT_EXE);
    for (const std::string& a : args)
        command += " " + Quote(a);
    if (!stdinPath.empty())
        command += " <" + Quote(stdinPath);
    command += " >" + Quote(dir.Path("out")) + " 2>" + Quote(dir.Path("err"));
    int status = std::system(command.c_str());
    RunResult r;
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = ReadFile(dir.Path("out"));
    r.err = ReadFile(dir.Path("err"));
    return r;
}

namespace {

class CJsonChecker {
public:
    explicit CJsonChecker(const std::string& text) : m_p(text.data()), m_end(text.data() + text.size()) {}

    std::string Check() {
        if (!Value())
            return m_error;
        Blanks();
        return m_p == m_end ? "" : "text after the value";
    }

private:
    void Blanks() {
        while (m_p < m_end && (*m_p == ' ' || *m_p == '\n' || *m_p == '\r' || *m_p == '\t'))
            m_p++;
    }

    bool Fail(const char* why) {
        m_error = why;
        return false;
    }

    bool Literal(const char* word) {
        std::size_t n = std::string(word).size();
        if ((std::size_t)(m_end - m_p) < n || std::string(m_p, n) != word)
            return Fail("bad literal");
        m_p += n;
        return true;
    }

    bool Number() {
        const char* start = m_p;
        if (m_p < m_end && *m_p == '-')
            m_p++;
        const char* digits = m_p;
        while (m_p < m_end && std::isdigit((unsigned char)*m_p))
            m_p++;
        if (m_p == digits || (*digits == '0' && m_p - digits > 1))
            return Fail("bad number");
        if (m_p < m_end && *m_p == '.') {
            const char* fraction = ++m_p;
            while (m_p < m_end && std::isdigit((unsigned char)*m_p))
                m_p++;
            if (m_p == fraction)
                return Fail("bad fraction");
        }
        return m_p > start;
    }

    bool String() {
        m_p++;
        while (m_p < m_end && *m_p != '"') {
            if ((unsigned char)*m_p < 0x20 || *m_p == '\\')
                return Fail("control character or escape in a string");
            m_p++;
        }
        if (m_p == m_end)
            return Fail("unterminated string");
        m_p++;
        return true;
    }

    bool Value() {
        Blanks();
        if (m_p == m_end)
            return Fail("missing value");
        switch (*m_p) {
        case '{':
        case '[': {
            char close = *m_p == '{' ? '}' : ']';
            bool object = close == '}';
            m_p++;
            Blanks();
            if (m_p < m_end && *m_p == close) {
                m_p++;
                return true;
            }
            for (;;) {
                if (object) {
                    Blanks();
                    if (m_p == m_end || *m_p != '"' || !String())
                        return Fail("missing key");
                    Blanks();
                    if (m_p == m_end || *m_p++ != ':')
                        return Fail("missing colon");
                }
                if (!Value())
                    return false;
                Blanks();
                if (m_p == m_end)
                    return Fail("unterminated object or array");
                if (*m_p == close) {
                    m_p++;
                    return true;
                }
                if (*m_p++ != ',')
                    return Fail("missing comma");
            }
        }
        case '"':
            return String();
        case 't':
            return Literal("true");
        case 'f':
            return Literal("false");
        case 'n':
            return Literal("null");
        default:
            return Number();
        }
    }

    const char* m_p;
    const char* m_end;
    std::string m_error;
};

} // namespace

std::string JsonSyntaxError(const std::string& json) {
    return CJsonChecker(json).Check();
}

::testing::AssertionResult InOrder(const std::string& text, std::initializer_list<std::string> pieces) {
    std::size_t at = 0;
    for (const std::string& piece : pieces) {
        at = text.find(piece, at);
        if (at == std::string::npos)
            return ::testing::AssertionFailure() << "missing, or not after the piece before: " << piece;
        at += piece.size();
    }
    return ::testing::AssertionSuccess();
}

} // namespace reporttest
