// Positions are compared in hundredths of a screen pixel, where guide.csv
// and touch.csv both give them, with + - * / and sqrt only.
#include "report/analyse/GuidedItems.h"

#include "report/analyse/Geometry.h"

#include <algorithm>
#include <cmath>

namespace report {

namespace {

// The client pixel of a position in hundredths of a screen pixel.
std::int32_t ClientPixel(std::int64_t hundredths, std::int32_t origin) {
    return (std::int32_t)(FloorDiv(hundredths, 100) - origin);
}

bool During(const GuidedItem& item, std::uint64_t us) {
    return item.done && item.shownUs <= us && us <= item.endedUs;
}

} // namespace

Guided GuidedPlan(const Guide& guide) {
    Guided guided;
    guided.run = guide.run;
    std::vector<GuidedItem>& items = guided.items;
    items.resize(GUIDE_ITEMS);
    // Where an item never shown would have been: the plan laid out on the
    // run's first client area.
    GuidePlan layout{};
    if (!guide.rows.empty()) {
        const GuideRow& r = guide.rows.front();
        layout = LayOutGuide(r.clientW, r.clientH, GuideMargin((int)r.screenWPx, (int)r.screenWMm));
        guided.screenMm = Point{(std::int32_t)r.screenWMm, (std::int32_t)r.screenHMm};
    }
    for (int place = 0; place < GUIDE_ITEMS; place++) {
        GuidedItem& item = items[place];
        item.item = place + 1;
        item.kind = PlannedKind(place + 1);
        item.from = Point{layout.items[place].from.x, layout.items[place].from.y};
        item.to = Point{layout.items[place].to.x, layout.items[place].to.y};
    }
    for (const GuideRow& r : guide.rows) {
        guided.clientSize.x = std::max(guided.clientSize.x, r.clientW);
        guided.clientSize.y = std::max(guided.clientSize.y, r.clientH);
        GuidedItem& item = items[r.item - 1];
        if (r.outcome != ItemOutcome::Done && item.done)
            continue; // the last row done counts
        item.from = Point{ClientPixel(r.x1, r.clientLeft), ClientPixel(r.y1, r.clientTop)};
        item.to = Point{ClientPixel(r.x2, r.clientLeft), ClientPixel(r.y2, r.clientTop)};
        if (r.outcome != ItemOutcome::Done)
            continue;
        item.done = true;
        item.fineFromX = r.x1;
        item.fineFromY = r.y1;
        item.fineToX = r.x2;
        item.fineToY = r.y2;
        item.shownUs = r.shownUs;
        item.endedUs = r.endedUs;
        item.guideLine = r.line;
    }
    return guided;
}

CGuidedItems::CGuidedItems(Guided plan) : m_guided(std::move(plan)), m_items(m_guided.items) {
    m_answers.resize(m_items.size());
    for (std::size_t i = 0; i < m_items.size(); i++) {
        if (!m_items[i].done)
            continue;
        m_ends.push_back(m_items[i].endedUs);
        if (m_items[i].kind == GuideKind::Contacts)
            m_contacts = (int)i;
        else if (m_items[i].kind == GuideKind::Pair)
            m_pair = (int)i;
    }
    std::sort(m_ends.begin(), m_ends.end());
}

int CGuidedItems::Answer(const InputEvent& in) {
    // An item shows as the one before it ends, in the same message: a DOWN
    // at that time is the later item's.
    int place = -1;
    for (std::size_t i = 0; i < m_items.size(); i++)
        if (During(m_items[i], in.receivedUs) && (place < 0 || m_items[i].shownUs >= m_items[place].shownUs))
            place = (int)i;
    if (place >= 0) {
        std::size_t i = (std::size_t)place;
        GuidedItem& item = m_items[i];
        if (item.firstLine == 0)
            item.firstLine = in.line;
        if (!GuideItemIsPlaced(item.kind))
            return -1; // the contacts and the pair take inputs, not a stroke
        Answering& a = m_answers[i];
        if (a.answered) {
            item.extraTouches++;
            return -1;
        }
        a.answered = true;
        item.contact = in.id;
        return place;
    }
    return -1;
}

void CGuidedItems::AddPoint(int place, const InputEvent& in) {
    const GuidedItem& item = m_items[place];
    Answering& a = m_answers[place];
    double px = (double)(in.fineX - item.fineFromX), py = (double)(in.fineY - item.fineFromY);
    double vx = px, vy = py;
    if (item.kind == GuideKind::Line) {
        // The nearest point of the guide's segment, and how far along it.
        double ux = (double)(item.fineToX - item.fineFromX), uy = (double)(item.fineToY - item.fineFromY);
        double length2 = ux * ux + uy * uy;
        double t = length2 > 0 ? (px * ux + py * uy) / length2 : 0;
        t = std::min(1.0, std::max(0.0, t));
        vx = px - t * ux;
        vy = py - t * uy;
        a.reachFrom = a.points == 0 ? t : std::min(a.reachFrom, t);
        a.reachTo = a.points == 0 ? t : std::max(a.reachTo, t);
    } else {
        a.sumX += px;
        a.sumY += py;
    }
    a.points++;
    double d2 = vx * vx + vy * vy;
    if (d2 > a.farthest2) {
        a.farthest2 = d2;
        a.farX = vx;
        a.farY = vy;
    }
}

void CGuidedItems::Input(const InputEvent& in, std::size_t down,
                         const std::optional<std::pair<double, double>>& nearest) {
    std::uint64_t us = in.receivedUs;
    while (m_endsPassed < m_ends.size() && m_ends[m_endsPassed] <= us)
        m_endsSeen += m_ends[m_endsPassed++] == us;
    if (m_contacts >= 0 && During(m_items[m_contacts], us)) {
        Answering& a = m_answers[m_contacts];
        a.mostDown = std::max<std::uint64_t>(a.mostDown, down);
    }
    if (m_pair >= 0 && nearest && During(m_items[m_pair], us)) {
        Answering& a = m_answers[m_pair];
        double d2 = nearest->first * nearest->first + nearest->second * nearest->second;
        if (!a.closest2 || d2 < *a.closest2) {
            a.closest2 = d2;
            a.closeX = nearest->first;
            a.closeY = nearest->second;
        }
    }
}

void CGuidedItems::EndAnswer(int place, const Stroke& stroke, std::optional<std::size_t> kept) {
    GuidedItem& item = m_items[place];
    item.stroke = kept;
    if (item.kind == GuideKind::Hold)
        item.jitterPx = stroke.jitterPx;
    if (item.kind == GuideKind::Line)
        item.deviationPx = stroke.lineMaxDevPx;
}

Guided CGuidedItems::Finish(const Options& options) {
    Guided& guided = m_guided;
    guided.belongs = m_endsSeen == m_ends.size();
    double biasX = 0, biasY = 0;
    std::vector<double> offsets;
    for (std::size_t i = 0; i < m_items.size(); i++) {
        GuidedItem& item = m_items[i];
        const Answering& a = m_answers[i];
        item.missed = !item.done || (GuideItemIsPlaced(item.kind) ? !a.answered : item.firstLine == 0);
        if (item.kind == GuideKind::Target && item.missed)
            guided.targetsMissed++;
        if (item.missed)
            continue;
        switch (item.kind) {
        case GuideKind::Target:
        case GuideKind::Hold: {
            double n = (double)a.points * 100;
            item.offsetXPx = a.sumX / n;
            item.offsetYPx = a.sumY / n;
            item.offsetPx = std::sqrt(*item.offsetXPx * *item.offsetXPx + *item.offsetYPx * *item.offsetYPx);
            item.maxOffsetPx = std::sqrt(a.farthest2) / 100;
            item.maxOffsetXPx = a.farX / 100;
            item.maxOffsetYPx = a.farY / 100;
            if (item.kind == GuideKind::Target) {
                biasX += *item.offsetXPx;
                biasY += *item.offsetYPx;
                offsets.push_back(*item.offsetPx);
            }
            break;
        }
        case GuideKind::Line:
            item.guideOffsetPx = std::sqrt(a.farthest2) / 100;
            item.guideOffsetXPx = a.farX / 100;
            item.guideOffsetYPx = a.farY / 100;
            item.reachPct = (a.reachTo - a.reachFrom) * 100;
            break;
        case GuideKind::Contacts:
            item.contacts = a.mostDown;
            break;
        case GuideKind::Pair:
            if (a.closest2) {
                item.separationPx = std::sqrt(*a.closest2) / 100;
                item.separationXPx = a.closeX / 100;
                item.separationYPx = a.closeY / 100;
            }
            break;
        }
    }
    if (!offsets.empty()) {
        guided.biasXPx = biasX / (double)offsets.size();
        guided.biasYPx = biasY / (double)offsets.size();
        std::size_t rank = (offsets.size() * 95 + 99) / 100 - 1;
        std::sort(offsets.begin(), offsets.end());
        guided.offsetP95Px = offsets[rank];
        if (options.pxPerMmX) { // two scales may rank them otherwise
            std::vector<double> mm;
            for (const GuidedItem& item : m_items)
                if (item.kind == GuideKind::Target && !item.missed)
                    mm.push_back(*options.VectorMm(*item.offsetXPx, *item.offsetYPx));
            std::sort(mm.begin(), mm.end());
            guided.offsetP95Mm = mm[rank];
        }
    }
    return std::move(guided);
}

} // namespace report
