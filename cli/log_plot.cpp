#include "cli/log_plot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "shell/append_format.h"

namespace kestos {

namespace {

constexpr int width = 1200, left = 90, right = 20, top = 40;
constexpr int panelHeight = 120, panelGap = 18, bandHeight = 22;
constexpr int plotWidth = width - left - right;

struct Panel {
    const char* title;
    const char* unit;
    double (*value)(const DriveLogRow&);
    double (*second)(const DriveLogRow&); // a second line in the panel, or nullptr
    const char* colour;
    double low, high; // the scale, widened to what the log holds
};

// Text from the log goes into the picture escaped.
std::string escaped(const char* text) {
    std::string s;
    for (const char* c = text; *c; ++c) {
        switch (*c) {
        case '&': s += "&amp;"; break;
        case '<': s += "&lt;"; break;
        case '>': s += "&gt;"; break;
        case '"': s += "&quot;"; break;
        default: s += static_cast<unsigned char>(*c) < 0x80 ? *c : '?';
        }
    }
    return s;
}

// A step of 1, 2 or 5 times a power of ten that gives at most `most` ticks over `span`.
double tickStep(double span, int most) {
    for (double decade = 0.1;; decade *= 10)
        for (double m : {1.0, 2.0, 5.0})
            if (span / (m * decade) <= most) return m * decade;
}

} // namespace

std::string plotDriveLog(const DriveLog& log, const char* title) {
    Panel panels[plotPanelCount] = {
        {"Engine speed", "rpm", [](const DriveLogRow& r) { return double(r.rpm); }, nullptr,
         "#c00000", 0, 1000},
        {"Lambda", "V", [](const DriveLogRow& r) { return r.lambdaCentivolts / 100.0; }, nullptr,
         "#0050c0", 0, 1},
        {"TPS", "V", [](const DriveLogRow& r) { return r.tpsCentivolts / 100.0; }, nullptr,
         "#008000", 0, 5},
        {"Att, AttInit", "", [](const DriveLogRow& r) { return double(r.att); },
         [](const DriveLogRow& r) { return double(r.attInit); }, "#804000", 0, 255},
        {"Reducer temperature", "C", [](const DriveLogRow& r) { return double(r.temperature); },
         nullptr, "#a000a0", 0, 100},
    };
    double end = 1;
    for (const DriveLogRow& r : log.rows)
        end = std::max(end, r.timeMs / 1000.0);
    for (const DriveLogMarker& m : log.markers)
        end = std::max(end, m.timeMs / 1000.0);
    for (Panel& p : panels) {
        for (const DriveLogRow& r : log.rows) {
            if (!r.linkUp) continue;
            p.low = std::min(p.low, p.value(r));
            p.high = std::max(p.high, p.value(r));
        }
    }
    panels[0].high = std::ceil(panels[0].high / 1000) * 1000; // whole thousands of rpm
    const int bandTop = top + plotPanelCount * (panelHeight + panelGap);
    const int axisTop = bandTop + bandHeight + 8;
    const int height = axisTop + 40;
    auto x = [&](uint32_t ms) { return left + plotWidth * (ms / 1000.0) / end; };

    std::string out;
    out.reserve(64 * 1024 + log.rows.size() * 80);
    appendFormat(out, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    appendFormat(out,
                 "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\" "
                 "viewBox=\"0 0 %d %d\" font-family=\"sans-serif\" font-size=\"12\">\n",
                 width, height, width, height);
    appendFormat(out, "<rect width=\"%d\" height=\"%d\" fill=\"white\"/>\n", width, height);
    appendFormat(out, "<text x=\"%d\" y=\"22\" font-size=\"15\">%s</text>\n", left,
                 escaped(title).c_str());
    appendFormat(
        out, "<text x=\"%d\" y=\"22\" text-anchor=\"end\">Started %s, %s, firmware %s, %s</text>\n",
        width - right, escaped(log.header.started).c_str(), escaped(log.header.program).c_str(),
        escaped(log.header.firmware).c_str(), escaped(log.header.port).c_str());

    for (int i = 0; i < plotPanelCount; ++i) {
        const Panel& p = panels[i];
        const int y0 = top + i * (panelHeight + panelGap);
        auto y = [&](double v) {
            return y0 + panelHeight - panelHeight * (v - p.low) / (p.high - p.low);
        };
        appendFormat(out, "<g class=\"panel\" id=\"panel%d\">\n", i + 1);
        appendFormat(out,
                     "<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" fill=\"#f8f8f8\" "
                     "stroke=\"#808080\"/>\n",
                     left, y0, plotWidth, panelHeight);
        appendFormat(out, "<text x=\"%d\" y=\"%d\" font-weight=\"bold\">%s%s%s%s</text>\n",
                     left + 6, y0 + 14, p.title, p.unit[0] ? " (" : "", p.unit,
                     p.unit[0] ? ")" : "");
        appendFormat(out, "<text x=\"%d\" y=\"%d\" text-anchor=\"end\">%g</text>\n", left - 6,
                     y0 + 10, p.high);
        appendFormat(out, "<text x=\"%d\" y=\"%d\" text-anchor=\"end\">%g</text>\n", left - 6,
                     y0 + panelHeight, p.low);
        for (auto line : {p.value, p.second}) {
            if (!line) continue;
            // One line for each stretch with the link up.
            bool open = false;
            for (const DriveLogRow& r : log.rows) {
                if (!r.linkUp) {
                    if (open) out += "\"/>\n";
                    open = false;
                    continue;
                }
                if (!open)
                    appendFormat(
                        out,
                        "<polyline fill=\"none\" stroke=\"%s\" stroke-width=\"1.2\"%s points=\"",
                        p.colour, line == p.second ? " stroke-dasharray=\"4 3\"" : "");
                appendFormat(out, "%.1f,%.1f ", x(r.timeMs), y(line(r)));
                open = true;
            }
            if (open) out += "\"/>\n";
        }
        out += "</g>\n";
    }

    // Gas and petrol: cyan and green, as the fuel-state box.
    appendFormat(out, "<g class=\"fuel\"><text x=\"%d\" y=\"%d\" text-anchor=\"end\">Gas</text>\n",
                 left - 6, bandTop + 15);
    for (std::size_t i = 0; i < log.rows.size(); ++i) {
        const DriveLogRow& r = log.rows[i];
        if (!r.linkUp) continue;
        const uint32_t next = i + 1 < log.rows.size() ? log.rows[i + 1].timeMs : r.timeMs;
        appendFormat(out, "<rect x=\"%.1f\" y=\"%d\" width=\"%.1f\" height=\"%d\" fill=\"%s\"/>\n",
                     x(r.timeMs), bandTop, std::max(0.5, x(next) - x(r.timeMs)), bandHeight,
                     r.gas ? "#00c0c0" : "#40b040");
    }
    out += "</g>\n";

    // The link down: from its row to the next row with the link up.
    out += "<g class=\"link-down\">\n";
    for (std::size_t i = 0; i < log.rows.size(); ++i) {
        if (log.rows[i].linkUp) continue;
        std::size_t j = i + 1;
        while (j < log.rows.size() && !log.rows[j].linkUp)
            ++j;
        const double x0 = x(log.rows[i].timeMs);
        const double x1 = j < log.rows.size() ? x(log.rows[j].timeMs) : left + plotWidth;
        appendFormat(out,
                     "<rect x=\"%.1f\" y=\"%d\" width=\"%.1f\" height=\"%d\" fill=\"#606060\" "
                     "fill-opacity=\"0.25\"><title>link down</title></rect>\n",
                     x0, top, std::max(1.0, x1 - x0), bandTop + bandHeight - top);
        i = j - 1;
    }
    out += "</g>\n";

    out += "<g class=\"markers\">\n";
    for (const DriveLogMarker& m : log.markers) {
        const double mx = x(m.timeMs);
        appendFormat(out,
                     "<g class=\"marker\"><line x1=\"%.1f\" y1=\"%d\" x2=\"%.1f\" y2=\"%d\" "
                     "stroke=\"black\" stroke-dasharray=\"2 2\"/><text x=\"%.1f\" y=\"%d\" "
                     "text-anchor=\"middle\">%d</text></g>\n",
                     mx, top - 4, mx, bandTop + bandHeight, mx, top - 6, m.number);
    }
    out += "</g>\n";

    // Time in seconds.
    const double step = tickStep(end, 12);
    appendFormat(
        out, "<g class=\"axis\"><line x1=\"%d\" y1=\"%d\" x2=\"%d\" y2=\"%d\" stroke=\"black\"/>\n",
        left, axisTop, left + plotWidth, axisTop);
    for (double t = 0; t <= end + 1e-9; t += step) {
        const double tx = left + plotWidth * t / end;
        appendFormat(out,
                     "<line x1=\"%.1f\" y1=\"%d\" x2=\"%.1f\" y2=\"%d\" stroke=\"black\"/>"
                     "<text x=\"%.1f\" y=\"%d\" text-anchor=\"middle\">%g</text>\n",
                     tx, axisTop, tx, axisTop + 5, tx, axisTop + 18, t);
    }
    appendFormat(out, "<text x=\"%d\" y=\"%d\" text-anchor=\"end\">time (s)</text></g>\n",
                 left + plotWidth, axisTop + 34);
    out += "</svg>\n";
    return out;
}

} // namespace kestos
