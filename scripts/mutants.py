#!/usr/bin/env python3
"""Mutant check: one-line faults put into src/ one at a time, each rebuilt and
tried against its subsystem's tests, to pin down what the suite catches.

A mutant is (file, text found exactly once in it, replacement), never a line
number, so that it keeps its meaning while others edit the same files; one
whose text is gone or no longer unique is reported stale.

    scripts/mutants.py --list
    scripts/mutants.py --out build/mutants.json [--only 3,17] [--all-failures]
"""
import argparse
import json
import os
import re
import signal
import subprocess
import sys
import tempfile
import time
from dataclasses import dataclass, field

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.path.join(ROOT, "build", "mutants")
ENV = None

# The tests of each subsystem, as CTest names them in tests/<subsystem>/CMakeLists.txt.
TESTS = {
    "app": "AppLogicTest|MainWindowTest|ResourcesTest|DesktopFilesTest|ProjectWindowTest",
    "picture": "PictureViewTest|PictureLoaderTest|PictureWindowTest|JpegSplitTest|PlainPngTest",
    "calibration": "calibration_test|PointPickingTest|ScaleAxesPanelTest|axis_finding_test|label_ocr_test"
                   "|axis_accuracy_test",
    "data": "data_.*_test|DataWindowTest|DataPrintTest",
    "extract": "test_extract_logic|ExtractWindowTest",
    "options": "OptionsFieldsTest|OptionsWindowTest",
    "acquire": "AcquireLogicTest|AcquireWindowTest|SaneScannerTest",
    "zoom": "ZoomLogicTest|ZoomWindowTest",
    "info": "InfoTextsTest|InfoWindowTest",
}


def regex_of(subsystem):
    return "^(" + TESTS[subsystem] + ")$"


@dataclass
class Mutant:
    path: str  # under src/
    original: str  # occurs exactly once in the file
    replacement: str
    what: str  # what a user would see
    equivalent: bool = False  # no test can tell it apart; why is in `what`
    number: int = 0
    subsystem: str = field(default="")

    def __post_init__(self):
        self.subsystem = self.path.split("/")[0]


M = Mutant
MUTANTS = [
    # app: reading and writing numbers, dates, the main window
    M("app/core/NumberReading.cpp", "if (c >= u'a' && c <= u'f')", "if (c >= u'a' && c < u'f')",
      "&Hf reads as 0"),
    M("app/core/NumberReading.cpp", "*position_ == u' ' || *position_ == u'\\t' ||", "*position_ == u' ' ||",
      "a tab inside a number ends it"),
    M("app/core/NumberReading.cpp", "std::fmod(below, 2.0) != 0", "std::fmod(below, 2.0) == 0",
      "halves round to odd"),
    M("app/core/NumberReading.cpp", "if (fraction > 0.5 ||", "if (fraction >= 0.5 ||", "halves always round up"),
    M("app/core/NumberText.cpp", "(d.exponent >= -4 && d.exponent < style.precision)",
      "(d.exponent >= -5 && d.exponent < style.precision)", "1E-05 written as .00001"),
    M("app/core/NumberText.cpp", "if (power < 10)", "if (power < 100)", "E+005 instead of E+05"),
    M("app/core/NumberText.cpp", "if (whole >= 0)", "if (whole > 0)", "zero loses its sign blank"),
    M("app/core/NumberText.cpp", "SinglePrecisionDigits = 7;", "SinglePrecisionDigits = 6;",
      "single values lose a digit"),
    M("app/core/IsoDate.cpp", "hours > 23 ||", "hours > 24 ||", "24:00 accepted as a time"),
    M("app/core/IsoDate.cpp", ".arg(inDay / 60 % 60, 2", ".arg(inDay / 60, 2", "minutes past 59"),
    M("app/core/IsoDate.cpp", "text.size() - i >= 10 &&", "text.size() - i > 10 &&",
      "a bare date is not taken for a date"),
    M("app/widgets/HistoryCommands.cpp", "[] { TakeStep(true); }", "[] { TakeStep(false); }", "Undo redoes"),
    M("app/widgets/MainStatusBar.cpp", "(panel >= 1 && panel <= 6)", "(panel >= 1 && panel < 6)",
      "the clock panel cannot be read"),

    # picture: zoom, rotation, markers, loading
    M("picture/ViewZoom.cpp", "if (percent > now)", "if (percent >= now)", "Zoom In stays put"),
    M("picture/ViewZoom.cpp", "if (*it < now)", "if (*it <= now)", "Zoom Out stays put"),
    M("picture/ViewZoom.cpp", "(viewPixel.x() + 0.5) / factor_ - 0.5", "(viewPixel.x() + 0.5) / factor_",
      "pointer x half a pixel off when zoomed"),
    M("picture/ViewZoom.cpp", "std::ceil((view.right() + 1) / factor_)", "std::floor((view.right() + 1) / factor_)",
      "last picture column not repainted"),
    M("picture/ViewZoom.cpp", "std::max(1, static_cast<int>(std::ceil(pixels * factor_ - 1e-9)))",
      "std::max(0, static_cast<int>(std::ceil(pixels * factor_ - 1e-9)))",
      "equivalent: the factor is at least 0.1, so a side of one pixel or more never rounds up to below 1",
      equivalent=True),
    M("picture/PixelRotation.cpp", "std::abs(w * std::sin(theta));", "std::abs(h * std::sin(theta));",
      "rotated picture height wrong"),
    M("picture/PixelRotation.cpp", "copy(c1x - p1.y, c1y + p1.x, c2x - p2y, c2y + p2x);",
      "copy(c1x - p1.y, c1y + p1.x, c2x - p2y, c2y - p2x);", "a quarter of the rotated picture wrong"),
    M("picture/PolarTurn.cpp", "theta_ = angleDegrees * (pi / 180);", "theta_ = -angleDegrees * (pi / 180);",
      "rotation turns the other way"),
    M("picture/DocumentLayout.cpp", "out.horizontalVisible = in.surface.width() > width;",
      "out.horizontalVisible = in.surface.width() >= width;", "scroll bar shown for a picture that fits"),
    M("picture/DocumentLayout.cpp", "in.inner.height() - in.top - in.horizontalBarHeight",
      "in.inner.height() - in.horizontalBarHeight", "viewport runs under the bar"),
    M("picture/MarkerLayer.cpp", "return {m.centre.x() - d / 2, m.centre.y() - d / 2, d, d};",
      "return {m.centre.x() - d / 2, m.centre.y() - d / 2, d, d + 1};", "dots one pixel taller"),
    M("picture/MarkerLayer.cpp", "for (int i : wide_)", "for (int i : std::vector<int>{})",
      "large dots not repainted"),
    M("picture/PictureLoader.cpp", "return size.width() > maxSide || size.height() > maxSide;",
      "return size.width() >= maxSide || size.height() > maxSide;", "a picture of the largest width refused"),
    M("picture/PictureLoader.cpp", ".arg(size.width())", ".arg(size.height())", "too-large message wrong width"),
    M("picture/PngDecoder.cpp", "const int c = i * 255 / (count - 1);", "const int c = i * 255 / count;",
      "grey PNG levels too dark"),
    M("picture/PngDecoder.cpp", "if (row[x] > count)", "if (row[x] >= count)", "last palette colour lost"),
    M("picture/widgets/RotationCommands.cpp", "if (angle > 0 && angle < 360)", "if (angle >= 0 && angle < 360)",
      "equivalent: an angle of 0 has already returned as giving up, so none reaches this test", equivalent=True),

    # calibration
    M("calibration/Calibration.cpp", "(bx1 - 10) / (bx1 - bx2)", "(bx1 - 1) / (bx1 - bx2)", "right edge wrong"),
    M("calibration/Calibration.cpp", "frame.bottom = y1 - (y1 - y2) * by1 / (by1 - by2);",
      "frame.bottom = y1 - (y1 - y2) * by2 / (by1 - by2);", "bottom edge wrong"),
    M("calibration/Calibration.cpp", "if (state.RefX1 == state.RefX2 || state.RefY1 == state.RefY2)",
      "if (state.RefX1 == state.RefX2)", "equal Y values accepted"),
    M("calibration/Calibration.cpp", "if (state.RefPx1 == state.RefPx2 || state.RefPy1 == state.RefPy2)",
      "if (state.RefPx1 == state.RefPx2)", "points on one horizontal line accepted"),
    M("calibration/CoordinateTransform.cpp", "QStringLiteral(\"X= \")", "QStringLiteral(\"X=\")",
      "status bar X text"),
    M("calibration/CoordinateTransform.cpp", "save ? QStringLiteral(\"Saving: \") : QString()",
      "save ? QString() : QStringLiteral(\"Saving: \")", "Saving shown when not saving"),
    M("calibration/AxisScale.cpp", "%1 is not above 0, which a log axis cannot show",
      "%1 is below 0, which a log axis cannot show", "log refusal message"),
    M("calibration/LabelNumber.cpp", "if (groups[1] == QStringLiteral(\"000\"))",
      "if (groups[1] == QStringLiteral(\"00\"))", "1,000 read first as 1"),
    M("calibration/LabelNumber.cpp", "groups[0].size() <= 3;", "groups[0].size() < 3;",
      "123,456 not read as thousands"),
    M("calibration/LabelNumber.cpp", "? -scale : scale);", "? scale : scale);", "minus sign of labels lost"),
    M("calibration/AffineCalibration.cpp", "if (points.size() < 3)", "if (points.size() < 2)",
      "two known points accepted"),
    M("calibration/AffineCalibration.cpp", "return r.pixels <= ResidualWarningPixels;", "return r.pixels < 0;",
      "every residual warned about"),
    M("calibration/AffineCalibration.cpp", "QStringLiteral(\"Point %1\").arg(index + 1)",
      "QStringLiteral(\"Point %1\").arg(index)", "points named from 0"),
    M("calibration/AxisTicks.cpp", "if (c >= from && c <= to)", "if (c >= from && c < to)",
      "last log tick missing"),
    M("calibration/widgets/ScaleAxesPanel.cpp", "arg(QChar(row < 2 ? u'X' : u'Y'))",
      "arg(QChar(row < 1 ? u'X' : u'Y'))", "second X reference labelled Y"),

    # data
    M("data/GridRows.cpp", "if (rowCount() >= MaxGridRowCount) {", "if (rowCount() > MaxGridRowCount) {",
      "grid takes one row too many"),
    M("data/GridRows.cpp", ".arg(MaxGridRowCount - 1)", ".arg(MaxGridRowCount)", "grid-full message count"),
    M("data/GridRows.cpp", "if (first < 1 || count < 0 || first + count > rowCount()) {",
      "if (first < 0 || count < 0 || first + count > rowCount()) {", "header row removable"),
    M("data/GridRows.cpp", "text += u'\\r';", "text += u'\\n';", "copied rows joined by the wrong break"),
    M("data/PlainNumberForm.cpp", "MaxZerosAfterPoint = 3;", "MaxZerosAfterPoint = 4;",
      "0.00001 kept in plain form"),
    M("data/RowsChange.cpp", "rows.replaceRows(change.first, change.inPlace, std::move(change.held));",
      "rows.replaceRows(change.first, held, std::move(change.held));", "undo of an append keeps the row"),
    M("data/GridEditing.cpp", "return key == SortKey::X ? 1 : 2; }", "return key == SortKey::X ? 2 : 1; }",
      "Sort X sorts by Y"),
    M("data/GridEditing.cpp", "if (kept > 0 && point == lastKept) {", "if (kept > 1 && point == lastKept) {",
      "first repeated value kept"),
    M("data/GridEditing.cpp", "std::max(last - first + 1, 0)", "std::max(last - first, 0)",
      "Remove Selected leaves the last row"),
    M("data/DataFileFormat.cpp", "SpaceFieldStart[GridColumnCount - 1] = {19, 39};",
      "SpaceFieldStart[GridColumnCount - 1] = {19, 38};", "space layout column shifted"),
    M("data/DataFileFormat.cpp", "out.put(c == 0 ? \"\\\"\" : \",\\\"\", c == 0 ? 1 : 2);",
      "out.put(c == 0 ? \"\\\"\" : \";\\\"\", c == 0 ? 1 : 2);", "comma layout written with semicolons"),
    M("data/CurveDocument.cpp", "if (trimmed.size() > MaxNameLength)", "if (trimmed.size() >= MaxNameLength)",
      "longest curve name refused"),
    M("data/CurveDocument.cpp", "if (count() == 1)", "if (count() == 0)", "last curve deletable"),
    M("data/CurveExport.cpp", "for (int r = 1; r < c.rows.rowCount(); ++r)",
      "for (int r = 2; r < c.rows.rowCount(); ++r)", "first point of each curve not exported"),
    M("data/CurveExport.cpp", "quoted.replace(u'\"', QStringLiteral(\"\\\"\\\"\"));",
      "quoted.replace(u'\"', QStringLiteral(\"\\\"\"));", "quotes in names not doubled in CSV"),
    M("data/ProjectFile.cpp", "if (rows.size() > MaxGridRowCount - 1)", "if (rows.size() > MaxGridRowCount)",
      "project with an overfull curve opens"),
    M("data/widgets/GridModel.cpp", "if (first < 1 || count < 1 || first + count > rows().rowCount()) {",
      "if (first < 0 || count < 1 || first + count > rows().rowCount()) {",
      "equivalent: every caller passes a first row of at least 1 (the selection is clamped, Remove All starts at 1)",
      equivalent=True),

    # extract
    M("extract/Interpolation.cpp", "if (splinePoints <= -2)", "if (splinePoints < -2)",
      "-2 spline points accepted"),
    M("extract/Interpolation.cpp", "return dataRows >= MinimumSplineRows;", "return dataRows > MinimumSplineRows;",
      "fewest rows refused for a spline"),
    M("extract/Interpolation.cpp", "values.push_back(splineOnX ? y : x);", "values.push_back(splineOnX ? x : y);",
      "spline values are the abscissae"),
    M("extract/NaturalSpline.cpp", "if (c.knots[i] < c.knots[i - 1])", "if (c.knots[i] <= c.knots[i - 1])",
      "repeated abscissa refused"),
    M("extract/NaturalSpline.cpp", "StoreSingle(z[i] / 2.0);", "StoreSingle(z[i] / 3.0);",
      "spline curvature wrong"),
    M("extract/SweepProgress.cpp", "firstSamplesShowing(m_shown + 1);", "firstSamplesShowing(m_shown + 2);",
      "progress bar skips steps"),
    M("extract/ExtractMessages.cpp", "if (quoted || c != u't')", "if (c != u't')",
      "equivalent: no long time format of any locale Qt 6.4 knows quotes a t, so no time text changes",
      equivalent=True),
    M("extract/ExtractMessages.cpp", ".arg(adding)", ".arg(capacity)", "grid-full message count"),
    M("extract/ExtractMessages.cpp", "report.title = QStringLiteral(\"Trace Curve\");",
      "report.title = QStringLiteral(\"Auto Reading\");", "trace report title"),
    M("extract/CurveTrace.cpp", "DistanceSquared(pixels[i], colour) <= limit ? 1 : 0;",
      "DistanceSquared(pixels[i], colour) < limit ? 1 : 0;", "colour at the tolerance edge missed"),
    M("extract/CurveTrace.cpp", "row - runs[k].last > s_.bridge", "row - runs[k].last >= s_.bridge",
      "gaps of the bridge width split a curve"),
    M("extract/CurveTrace.cpp", "if (result.count <= s_.keep && !result.countIsLowerBound)",
      "if (result.count < s_.keep && !result.countIsLowerBound)", "trace of exactly the room refused"),
    M("extract/CurveFollow.cpp", "return 2 * count >= inside;", "return count >= inside;",
      "follow does not start on a thin line"),
    M("extract/ColourSweep.cpp", "m_position >= m_end : m_position <= m_end", "m_position >= m_end : m_position < m_end",
      "last sweep column skipped"),
    M("extract/widgets/InterpolateSpline.cpp", "std::ssize(result.points) > MaxGridRowCount - 1)",
      "std::ssize(result.points) > MaxGridRowCount)", "spline overfills the grid"),
    M("extract/widgets/AutoRead.cpp", "if (data.grid().rowCount() >= MaxGridRowCount) {",
      "if (data.grid().rowCount() > MaxGridRowCount) {", "auto read overfills the grid"),

    # options
    M("options/OptionsFields.cpp", "if (!width || *width < 1)", "if (!width || *width < 0)", "dot width 0 accepted"),
    M("options/OptionsFields.cpp", "static_cast<double>(surface.width()) / *c",
      "static_cast<double>(surface.width()) / *r", "sweep grid preview columns from rows"),
    M("options/OptionsFields.cpp", "return OutOfRange(QStringLiteral(\"Columns\"));",
      "return OutOfRange(QStringLiteral(\"Rows\"));", "wrong field named in the message"),
    M("options/OptionsFields.cpp", "% count + count) % count", ") % count",
      "Shift+Tab from the first tab goes nowhere"),

    # acquire
    M("acquire/CaptureGeometry.cpp", "if (textSize.width() >= rect.width() ||", "if (textSize.width() > rect.width() ||",
      "size label drawn wider than the area"),
    M("acquire/CaptureGeometry.cpp", "underLabel < LabelColourThreshold ?", "underLabel > LabelColourThreshold ?",
      "size label unreadable on its background"),
    M("acquire/CaptureGeometry.cpp", "return (wholeStart + delaySeconds) * 1000 - startMs;",
      "return (wholeStart + delaySeconds) * 1000;", "capture waits far too long"),
    M("acquire/ScanFrame.cpp", "(value * 255u + 32767u) / 65535u", "(value * 255u) / 65535u",
      "16-bit scans one level darker"),
    M("acquire/ScanFrame.cpp", "(line[index >> 3] >> (7 - (index & 7)))", "(line[index >> 3] >> (index & 7))",
      "line-art scans mirrored per byte"),
    M("acquire/widgets/CaptureWindow.cpp", "if (rect.width() < 1 || rect.height() < 1)", "if (rect.width() < 1)",
      "flat capture area taken"),

    # zoom
    M("zoom/ZoomFactor.cpp", "(c >= u'0' && c <= u'9')", "(c >= u'0' && c < u'9')", "9 cannot be typed"),
    M("zoom/ZoomLayout.cpp", "span.sourceLength += 1;", "span.sourceLength += 0;",
      "zoom view edge left unfilled"),
    M("zoom/ZoomDrawing.cpp", "for (int k = 0; k * dx <= canvas.width(); ++k)",
      "for (int k = 0; k * dx < canvas.width(); ++k)",
      "equivalent: the line it drops starts at x = width, just outside the canvas, so nothing drawn changes",
      equivalent=True),
    M("zoom/widgets/ZoomWindow.cpp", "input.size() <= 4 ? Acceptable", "input.size() <= 3 ? Acceptable",
      "four-digit zoom cannot be typed"),

    # info
    M("info/InfoTexts.cpp", "time.hour() < 12 ? locale.amText()", "time.hour() <= 12 ? locale.amText()",
      "noon shown as AM"),
    M("info/InfoTexts.cpp", "time.hour() % 12 == 0 ? 12 :", "time.hour() % 12 == 0 ? 0 :",
      "midnight shown as 00"),
    M("info/widgets/AboutWindow.cpp", "QStringLiteral(\"MailTo:\")", "QStringLiteral(\"Mail:\")",
      "mail link opens nothing"),

    # added after the first run: the undo of a sort
    M("data/RowsReorder.cpp", "            text.insert(0, u' ');", "            ;",
      "undo of a sort loses the blank before positive numbers"),

    # added with the third cut: the trace panel's preview of matching pixels
    M("extract/MatchPreview.cpp", "if (d[x] <= limit) {", "if (d[x] < limit) {",
      "preview leaves out the colours at the tolerance edge"),
    # added with the plain PNG road
    M("picture/PlainPngDecoder.cpp", "return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;",
      "return pa <= pb && pa <= pc ? a : pb < pc ? b : c;", "PNG rows of the Paeth filter wrong where predictors tie"),
    M("picture/PlainPngDecoder.cpp", "qFromBigEndian<quint32>(trailer_.data()) == adler;", "adler == adler;",
      "a PNG whose image data fails its checksum opens"),
]
for _n, _m in enumerate(MUTANTS, 1):
    _m.number = _n


class Stop(Exception):
    """SIGTERM, turned into an exception so that the file is restored."""


def on_term(signum, frame):
    raise Stop()


def source_path(m):
    return os.path.join(ROOT, "src", m.path)


def occurrences(m):
    try:
        with open(source_path(m), encoding="utf-8") as f:
            return f.read().count(m.original)
    except FileNotFoundError:
        return 0


def test_env():
    env = dict(os.environ, QT_ASSUME_STDERR_HAS_CONSOLE="1")
    if not env.get("XDG_RUNTIME_DIR"):
        env["XDG_RUNTIME_DIR"] = tempfile.mkdtemp()
    return env


def run(cmd, timeout, log):
    """Runs cmd niced in its own process group; returns (code or None on timeout, output)."""
    proc = subprocess.Popen(["nice", "-n", "19"] + cmd, cwd=ROOT, stdout=subprocess.PIPE,
                            stderr=subprocess.STDOUT, text=True, start_new_session=True, env=ENV)
    try:
        out, _ = proc.communicate(timeout=timeout)
        code = proc.returncode
    except subprocess.TimeoutExpired:
        code, out = None, ""
    finally:
        if proc.poll() is None:
            os.killpg(proc.pid, signal.SIGKILL)
            proc.wait()
    if log:
        log.write(out or "")
        log.flush()
    return code, out or ""


def configure(log):
    if os.path.exists(os.path.join(BUILD, "build.ninja")):
        return True
    code, _ = run(["cmake", "-S", ".", "-B", BUILD, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
                   "-DTRACELLA_SANITIZE=OFF", "-DTRACELLA_BENCH=OFF", "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache",
                   "-DCMAKE_C_COMPILER_LAUNCHER=ccache"], 600, log)
    return code == 0


def build(subsystem, timeout, log):
    return run(["cmake", "--build", BUILD, "-j2", "--target", "tests/%s/all" % subsystem], timeout, log)[0] == 0


def test(subsystem, timeout, all_failures, log):
    """Returns (passed, names of the failing tests, timed out)."""
    cmd = ["xvfb-run", "-a", "-s", "-screen 0 1600x1200x24 -nolisten tcp", "ctest", "--test-dir", BUILD,
           "-R", regex_of(subsystem), "--output-on-failure", "-j2", "--timeout", "120"]
    if not all_failures:
        cmd.append("--stop-on-failure")
    code, out = run(cmd, timeout, log)
    failed = re.findall(r"^\s*\d+ - (\S+) \(", out.split("The following tests FAILED:")[-1], re.M) \
        if "The following tests FAILED:" in out else []
    if code is None:
        return False, failed, True
    if code != 0 and not failed:
        # --stop-on-failure may end before the summary; name what failed from the progress lines.
        failed = re.findall(r"Test\s+#\d+: (\S+) \.+\*+\s*(?:Failed|Exception|Timeout)", out)
    return code == 0, failed, False


def try_mutant(m, args, log):
    record = {"number": m.number, "subsystem": m.subsystem, "file": "src/" + m.path, "original": m.original,
              "replacement": m.replacement, "what": m.what, "equivalent": m.equivalent,
              "tests": regex_of(m.subsystem), "failed_tests": []}
    started = time.time()
    found = occurrences(m)
    if found != 1:
        record["status"] = "stale"
        record["detail"] = "original text found %d times" % found
        return record
    path = source_path(m)
    with open(path, "rb") as f:
        pristine = f.read()
    log.write("\n==== mutant %d: %s\n" % (m.number, m.path))
    try:
        with open(path, "wb") as f:
            f.write(pristine.replace(m.original.encode(), m.replacement.encode(), 1))
        if not build(m.subsystem, args.build_timeout, log):
            record["status"] = "does-not-compile"
        else:
            passed, failed, timed_out = test(m.subsystem, args.test_timeout, args.all_failures, log)
            record["failed_tests"] = failed
            record["status"] = "survived" if passed else "killed"
            if timed_out:
                record["detail"] = "tests timed out"
    finally:
        with open(path, "wb") as f:
            f.write(pristine)
    record["seconds"] = round(time.time() - started, 1)
    return record


def baseline(subsystems, args, log):
    """The unchanged tree must build and pass, or every mutant would look killed."""
    for s in subsystems:
        if not build(s, args.build_timeout, log):
            sys.exit("baseline: %s does not build (see %s)" % (s, args.log))
        passed, failed, _ = test(s, args.test_timeout, True, log)
        if not passed:
            sys.exit("baseline: %s tests fail unchanged: %s" % (s, ", ".join(failed) or "see " + args.log))
        print("baseline %-12s passes" % s, flush=True)


def summary(records):
    counts = {}
    for r in records:
        counts[r["status"]] = counts.get(r["status"], 0) + 1
    return counts


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--list", action="store_true", help="list the mutants and whether their text is found")
    parser.add_argument("--only", help="comma-separated mutant numbers")
    parser.add_argument("--out", default=os.path.join(ROOT, "build", "mutants.json"))
    parser.add_argument("--log", default=os.path.join(ROOT, "build", "mutants.log"))
    parser.add_argument("--all-failures", action="store_true",
                        help="run every test of the subsystem rather than stop at the first failure")
    parser.add_argument("--no-baseline", action="store_true", help="skip the check of the unchanged tree")
    parser.add_argument("--build-timeout", type=int, default=900)
    parser.add_argument("--test-timeout", type=int, default=900)
    args = parser.parse_args()

    chosen = MUTANTS
    if args.only:
        wanted = {int(n) for n in args.only.split(",")}
        chosen = [m for m in MUTANTS if m.number in wanted]

    if args.list:
        for m in chosen:
            found = occurrences(m)
            state = "ok" if found == 1 else "STALE (%d)" % found
            print("%3d %-11s %-40s %-10s %s%s" % (m.number, m.subsystem, m.path, state, m.what,
                                                  " [equivalent]" if m.equivalent else ""))
        return

    global ENV
    ENV = test_env()
    signal.signal(signal.SIGTERM, on_term)
    os.makedirs(os.path.dirname(args.out), exist_ok=True)
    started = time.time()
    records = []
    with open(args.log, "w") as log:
        if not configure(log):
            sys.exit("configure failed (see %s)" % args.log)
        try:
            if not args.no_baseline:
                baseline(sorted({m.subsystem for m in chosen}), args, log)
            for m in chosen:
                r = try_mutant(m, args, log)
                records.append(r)
                print("%3d %-11s %-17s %6.1fs  %s %s" % (m.number, m.subsystem, r["status"], r.get("seconds", 0),
                                                         m.what, ",".join(r["failed_tests"])), flush=True)
                write(args.out, records, started)
        except (KeyboardInterrupt, Stop):
            print("interrupted: the mutated file was restored", file=sys.stderr)
        write(args.out, records, started)
    counts = summary(records)
    print("\n" + ", ".join("%s %d" % kv for kv in sorted(counts.items())) +
          " of %d, in %.0f s" % (len(records), time.time() - started))


def write(path, records, started):
    with open(path, "w") as f:
        json.dump({"seconds": round(time.time() - started), "counts": summary(records), "mutants": records}, f,
                  indent=1)


if __name__ == "__main__":
    main()
