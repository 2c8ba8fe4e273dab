#include "report/write/Json.h"

#include "report/Version.h"
#include "report/write/Format.h"

namespace report {

namespace {

// Writes into `out`; with a file, hands the text over to it in pieces, so a
// long document is never held whole.
class CJson {
public:
    CJson(std::string& out, std::FILE* file, const Options& options)
        : m_out(out), m_file(file), m_options(options) {}

    void Spill() {
        if (m_file) {
            std::fwrite(m_out.data(), 1, m_out.size(), m_file);
            m_out.clear();
        }
    }

    // `"name": ` after a comma when it is not the first member.
    void Key(const char* name) {
        if (!m_first)
            m_out += ", ";
        m_first = false;
        m_out += '"';
        m_out += name;
        m_out += "\": ";
    }

    void Open(char bracket) {
        m_out += bracket;
        m_first = true;
    }

    // Closes an object or array, on a line of its own at `indent` if given.
    void Close(char bracket, const char* indent = nullptr) {
        if (indent) {
            m_out += '\n';
            m_out += indent;
        }
        m_out += bracket;
        m_first = false;
    }

    // Starts a new line for the next member or element.
    void Line(const char* indent) {
        if (m_out.size() >= SPILL_BYTES)
            Spill();
        if (!m_first)
            m_out += ',';
        m_out += '\n';
        m_out += indent;
        m_first = true;
    }

    void Element(std::uint64_t value) {
        if (m_out.size() >= SPILL_BYTES)
            Spill();
        if (!m_first)
            m_out += ", ";
        m_first = false;
        AppendInteger(m_out, value);
    }

    void Integer(const char* name, std::uint64_t value) {
        Key(name);
        AppendInteger(m_out, value);
    }

    void Integer(const char* name, std::int64_t value) {
        Key(name);
        AppendInteger(m_out, value);
    }

    // A whole number, or null.
    template <class T> void Whole(const char* name, const std::optional<T>& value) {
        Key(name);
        if (value)
            AppendInteger(m_out, *value);
        else
            m_out += "null";
    }

    void Fixed(const char* name, const std::optional<double>& value) {
        Key(name);
        Number(value);
    }

    // A figure's value in its unit: `name_px` (and its mm twin), `name_hz`,
    // `name_ms`, or plain `name` for a count.
    void Quantity(const char* name, double value, Unit unit) {
        switch (unit) {
        case Unit::Px:
            Length(name, value);
            return;
        case Unit::Hz:
            Fixed((std::string(name) + "_hz").c_str(), value);
            return;
        case Unit::Ms: // whole numbers, as the limits are
            Integer((std::string(name) + "_ms").c_str(), (std::uint64_t)value);
            return;
        case Unit::Count:
            Integer(name, (std::uint64_t)value);
            return;
        }
    }

    // `name_px` and, with --px-per-mm, `name_mm` after it.
    void Length(const char* name, const std::optional<double>& px) {
        Key((std::string(name) + "_px").c_str());
        Number(px);
        if (m_options.pxPerMm) {
            Key((std::string(name) + "_mm").c_str());
            Number(px ? std::optional<double>(*px / *m_options.pxPerMm) : std::nullopt);
        }
    }

    // `name_px` and its mm twin, given: a vector's, taken axis by axis.
    void Length(const char* name, const std::optional<double>& px, const std::optional<double>& mm) {
        Key((std::string(name) + "_px").c_str());
        Number(px);
        if (m_options.pxPerMm) {
            Key((std::string(name) + "_mm").c_str());
            Number(px ? mm : std::nullopt);
        }
    }

    // A whole number of pixels, and its mm twin.
    void WholeLength(const char* name, std::int64_t px) {
        Integer((std::string(name) + "_px").c_str(), px);
        if (m_options.pxPerMm) {
            Key((std::string(name) + "_mm").c_str());
            Number((double)px / *m_options.pxPerMm);
        }
    }

    void Text(const char* name, const char* text) {
        Key(name);
        m_out += '"';
        m_out += text;
        m_out += '"';
    }

    void Bool(const char* name, bool value) {
        Key(name);
        m_out += value ? "true" : "false";
    }

    void Null() {
        m_out += "null";
    }

private:
    void Number(const std::optional<double>& value) {
        if (value)
            AppendFixed(m_out, *value);
        else
            m_out += "null";
    }

    static constexpr std::size_t SPILL_BYTES = 1 << 16;

    std::string& m_out;
    std::FILE* m_file;
    const Options& m_options;
    bool m_first = true;
};

std::optional<double> Along(const std::optional<double>& px, const std::optional<double>& pxPerMm) {
    return px && pxPerMm ? std::optional<double>(*px / *pxPerMm) : std::nullopt;
}

void EmitGuided(CJson& j, const Guided& g, const Options& options) {
    j.Open('{');
    j.Integer("run", g.run);
    j.Fixed("px_per_mm_x", options.pxPerMmX);
    j.Fixed("px_per_mm_y", options.pxPerMmY);
    if (options.scaleFrom == ScaleFrom::None) {
        j.Key("scale_from");
        j.Null();
    } else {
        j.Text("scale_from", options.scaleFrom == ScaleFrom::Option ? "option" : "guide");
    }
    j.Line("    ");
    j.Length("bias_x", g.biasXPx, Along(g.biasXPx, options.pxPerMmX));
    j.Length("bias_y", g.biasYPx, Along(g.biasYPx, options.pxPerMmY));
    j.Length("offset_p95", g.offsetP95Px, g.offsetP95Mm);
    j.Integer("targets", (std::uint64_t)GUIDE_TARGETS);
    j.Integer("targets_missed", g.targetsMissed);
    j.Line("    ");
    j.Key("items");
    j.Open('[');
    for (const GuidedItem& item : g.items) {
        j.Line("      ");
        j.Open('{');
        j.Integer("item", (std::uint64_t)item.item);
        j.Text("kind", GuideKindName(item.kind));
        bool placed = GuideItemIsPlaced(item.kind);
        auto at = [&](std::int32_t v) { return placed ? std::optional<std::int32_t>(v) : std::nullopt; };
        j.Whole("x1", at(item.from.x));
        j.Whole("y1", at(item.from.y));
        j.Whole("x2", at(item.to.x));
        j.Whole("y2", at(item.to.y));
        j.Bool("missed", item.missed);
        j.Whole("contact", item.contact);
        j.Whole("first_line", item.firstLine ? std::optional<std::uint64_t>(item.firstLine) : std::nullopt);
        j.Integer("extra_touches", item.extraTouches);
        j.Length("offset_x", item.offsetXPx, Along(item.offsetXPx, options.pxPerMmX));
        j.Length("offset_y", item.offsetYPx, Along(item.offsetYPx, options.pxPerMmY));
        j.Length("offset", item.offsetPx,
                 item.offsetPx ? options.VectorMm(*item.offsetXPx, *item.offsetYPx) : std::nullopt);
        bool line = item.kind == GuideKind::Line;
        j.Length("max_offset", item.maxOffsetPx, line ? std::nullopt : figures::OffsetMmOf(item, options));
        j.Length("jitter", item.jitterPx);
        j.Length("deviation", item.deviationPx);
        j.Length("guide_offset", item.guideOffsetPx,
                 line ? figures::OffsetMmOf(item, options) : std::nullopt);
        j.Fixed("reach_pct", item.reachPct);
        j.Whole("contacts", item.contacts);
        j.Length("separation", item.separationPx,
                 item.separationPx ? options.VectorMm(item.separationXPx, item.separationYPx) : std::nullopt);
        j.Close('}');
    }
    j.Close(']', g.items.empty() ? nullptr : "    ");
    j.Close('}', "  ");
}

void Emit(std::string& out, std::FILE* file, const Report& report, const Options& options,
          const Verdict& verdict) {
    CJson j(out, file, options);
    j.Open('{');
    j.Line("  ");
    j.Text("generator", (std::string("kovrin-report ") + REPORT_VERSION).c_str());
    j.Text("input", report.input.format == InputFormat::TouchCsv ? "touch.csv" : "touch.log");
    j.Line("  ");
    j.Integer("messages", report.messages);
    j.Integer("inputs", report.inputs);
    j.Integer("strokes", report.StrokeCount());
    j.Integer("max_contacts", report.maxContacts);
    j.Integer("dropped_messages", report.droppedMessages);
    j.Integer("dropped_inputs", report.droppedInputs);
    j.Integer("stuck", report.stuck);
    j.Integer("ghosts", report.ghosts);
    j.Integer("redowns", report.redowns);
    j.Line("  ");
    j.Length("min_step", report.minStepPx);
    const std::optional<Separation>& near = report.separation;
    j.Length("min_separation", near ? std::optional<double>(near->px) : std::nullopt);
    j.Key("min_separation_ids");
    if (near) {
        j.Open('[');
        j.Element(near->movedId);
        j.Element(near->otherId);
        j.Close(']');
    } else {
        j.Null();
    }
    j.Whole("min_separation_line", near ? std::optional<std::uint64_t>(near->line) : std::nullopt);
    j.Line("  ");
    // touch.csv only: null from touch.log.
    bool csv = report.input.format == InputFormat::TouchCsv;
    j.Whole("backwards", csv ? std::optional<std::uint64_t>(report.backwards) : std::nullopt);
    j.Whole("client_w", csv ? std::optional<std::int32_t>(report.clientSize.x) : std::nullopt);
    j.Whole("client_h", csv ? std::optional<std::int32_t>(report.clientSize.y) : std::nullopt);
    j.Key("intervals");
    if (const std::optional<Intervals>& i = report.intervals) {
        j.Open('{');
        j.Integer("count", i->count);
        j.Integer("median_ms", (std::uint64_t)i->medianMs);
        j.Integer("p95_ms", (std::uint64_t)i->p95Ms);
        j.Integer("p99_ms", (std::uint64_t)i->p99Ms);
        j.Integer("max_ms", (std::uint64_t)i->maxMs);
        j.Close('}');
    } else {
        j.Null();
    }
    j.Line("  ");
    j.Key("contacts");
    j.Open('[');
    for (const Stroke& s : report.strokes) {
        j.Line("    ");
        j.Open('{');
        j.Integer("id", (std::uint64_t)s.id);
        j.Integer("slot", (std::int64_t)s.slot);
        j.Integer("points", s.points);
        j.Length("length", s.lengthPx);
        j.Length("max_step", s.maxStepPx);
        j.Length("mean_step", s.meanStepPx);
        j.Length("line_max_dev", s.lineMaxDevPx);
        j.Length("line_rms_dev", s.lineRmsDevPx);
        j.Length("jitter", s.jitterPx);
        j.Integer("first_line", s.firstLine);
        j.Integer("last_line", s.lastLine);
        j.Whole("duration_ms", s.durationMs);
        j.Fixed("rate_hz", s.rateHz);
        j.Whole("min_rate_hz", s.minRateHz ? std::optional<std::uint64_t>(*s.minRateHz) : std::nullopt);
        j.Whole("max_interval_ms", s.maxIntervalMs);
        j.Whole("max_interval_line",
                s.maxIntervalMs ? std::optional<std::uint64_t>(s.maxIntervalLine) : std::nullopt);
        j.Length("contact_w", s.contactWPx);
        j.Length("contact_h", s.contactHPx);
        j.Close('}');
    }
    j.Close(']', report.strokes.empty() ? nullptr : "  ");
    j.Line("  ");
    j.Key("coverage");
    j.Open('{');
    const Coverage& c = report.coverage;
    j.WholeLength("cell", c.cellPx);
    j.WholeLength("requested_cell", c.requestedCellPx);
    j.Integer("origin_x", (std::int64_t)c.origin.x);
    j.Integer("origin_y", (std::int64_t)c.origin.y);
    j.Integer("columns", (std::int64_t)c.columns);
    j.Integer("rows", (std::int64_t)c.rows);
    j.Key("counts");
    j.Open('[');
    for (std::uint64_t n : c.counts)
        j.Element(n);
    j.Close(']');
    j.Key("empty_cells");
    j.Open('[');
    for (std::int32_t cell : c.emptyCells)
        j.Element((std::uint64_t)cell);
    j.Close(']');
    j.Close('}');
    j.Line("  ");
    j.Integer("lines", report.input.lines);
    j.Integer("bad_lines", report.input.badLines);
    j.Bool("cut_off", report.input.cutOff);
    j.Integer("contacts_omitted", report.omittedStrokes);
    j.Integer("anomalies_omitted", report.omittedAnomalies);
    j.Line("  ");
    j.Key("anomalies");
    j.Open('[');
    for (const Anomaly& a : report.anomalies) {
        j.Line("    ");
        j.Open('{');
        j.Text("kind", AnomalyName(a.kind));
        j.Integer("id", (std::uint64_t)a.id);
        j.Integer("line", a.line);
        j.Close('}');
    }
    j.Close(']', report.anomalies.empty() ? nullptr : "  ");
    j.Line("  ");
    j.Key("guided");
    if (report.guided)
        EmitGuided(j, *report.guided, options);
    else
        j.Null();
    j.Line("  ");
    j.Text("verdict", OutcomeName(verdict.outcome));
    j.Line("  ");
    j.Key("limits");
    j.Open('[');
    for (const FigureVerdict& f : verdict.figures) {
        j.Line("    ");
        j.Open('{');
        const FigureInfo& info = Describe(f.figure);
        j.Text("figure", info.name);
        j.Quantity("limit", f.limit, info.unit);
        j.Integer("judged", (std::uint64_t)f.judged);
        j.Text("verdict", OutcomeName(f.outcome));
        j.Close('}');
    }
    j.Close(']', verdict.figures.empty() ? nullptr : "  ");
    j.Line("  ");
    j.Key("failures");
    j.Open('[');
    for (const Failure& f : verdict.failures) {
        j.Line("    ");
        j.Open('{');
        const FigureInfo& info = Describe(f.figure);
        j.Text("figure", info.name);
        j.Whole("stroke", f.stroke == SESSION ? std::nullopt : std::optional<std::uint64_t>(f.stroke));
        j.Whole("item", f.item ? std::optional<std::uint64_t>(*f.item) : std::nullopt);
        if (f.missed) // no value: nothing answered the item
            j.Length("value", std::nullopt);
        else if (f.mmPerPx) // along its vector
            j.Length("value", f.value, f.value * *f.mmPerPx);
        else
            j.Quantity("value", f.value, info.unit);
        if (f.mmPerPx)
            j.Length("limit", f.limit, f.limit * *f.mmPerPx);
        else
            j.Quantity("limit", f.limit, info.unit);
        j.Close('}');
    }
    j.Close(']', verdict.failures.empty() ? nullptr : "  ");
    j.Close('}', "");
    out += '\n';
    j.Spill();
}

} // namespace

std::string FormatJson(const Report& report, const Options& options, const Verdict& verdict) {
    std::string out;
    Emit(out, nullptr, report, options, verdict);
    return out;
}

bool WriteJson(std::FILE* file, const Report& report, const Options& options, const Verdict& verdict) {
    std::string buffer;
    buffer.reserve(1 << 17);
    Emit(buffer, file, report, options, verdict);
    return std::ferror(file) == 0;
}

} // namespace report
