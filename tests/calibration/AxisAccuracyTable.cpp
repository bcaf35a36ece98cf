// Prints how Find Axes fares on the generated figures, style by style, as
// a Markdown table; --notes adds why each axis not calibrated was left or
// wrong, --draw N draws another set of figures.
#include "AxisAccuracy.h"

#include "calibration/LabelOcr.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace tracella;
using namespace tracella::plots;

namespace {

struct Counts {
    int figures = 0;
    int figure[3] = {}, axis[3] = {}; // by Outcome
    void add(const FigureOutcome& o)
    {
        ++figures;
        ++figure[int(o.figure())];
        ++axis[int(o.x)];
        ++axis[int(o.y)];
    }
    void print(const char* name) const
    {
        std::printf("| %s | %d | %d | %d | %d | %d / %d / %d |\n", name, figures, figure[int(Outcome::Correct)],
                    figure[int(Outcome::Left)], figure[int(Outcome::Wrong)], axis[int(Outcome::Correct)],
                    axis[int(Outcome::Left)], axis[int(Outcome::Wrong)]);
    }
};

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv); // fonts for the figures' text
    bool notes = false;
    unsigned draw = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--notes") == 0)
            notes = true;
        else if (std::strcmp(argv[i], "--draw") == 0 && i + 1 < argc)
            draw = unsigned(std::strtoul(argv[++i], nullptr, 10));
    }
    LabelOcr ocr;
    if (!ocr.error().isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(ocr.error()));
        return 1;
    }
    std::vector<std::pair<std::string, Counts>> rows;
    Counts all;
    for (const Style& style : AccuracyFigures(draw)) {
        if (rows.empty() || rows.back().first != style.name)
            rows.push_back({style.name, {}});
        const FigureOutcome o = Measure(style, ocr);
        rows.back().second.add(o);
        all.add(o);
        if (notes && !o.note.isEmpty())
            std::fprintf(stderr, "%s #%d: %s\n", style.name, rows.back().second.figures, qPrintable(o.note));
    }
    std::printf("| Style | Figures | Calibrated | Left to the user | Wrong | Axes correct / left / wrong |\n");
    std::printf("|---|---|---|---|---|---|\n");
    for (const auto& [name, counts] : rows)
        counts.print(name.c_str());
    all.print("all");
    return all.figure[int(Outcome::Wrong)] == 0 ? 0 : 2;
}
