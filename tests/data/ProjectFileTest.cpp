#include "data/ProjectFile.h"

#include <QCborArray>
#include <QCborValue>

#include <gtest/gtest.h>

using namespace tracella;

namespace {

Project Sample()
{
    Project p;
    p.picture = {PictureSource::PdfPage, QStringLiteral("/plots/figure 3.pdf"), QByteArray("\x89PNG\0\r\n", 7), 3, 150};
    p.state.applySettingsDefaults();
    p.state.DotSize = 7;
    p.state.YAxisLog = true;
    p.state.RefX1 = 1e-300;
    p.state.RefPy2 = 412.25;
    p.state.FrameLeft = -0.5;
    p.state.PointerIndex = 2;
    p.curves.push_back({QStringLiteral("Kinetics, 25 °C"),
                        std::nullopt,
                        QStringLiteral("/data/k25.txt"),
                        DataFileLayout::Comma,
                        {{QStringLiteral(" 1"), QStringLiteral(" 1.5"), QStringLiteral("2,25 ")},
                         {QStringLiteral(" 2"), QStringLiteral("\"quoted\"\ttab"), QString()}}});
    p.curves.push_back({QStringLiteral("日本語"), Rgb(0, 114, 178), QString(), DataFileLayout::Tab, {}});
    p.current = 1;
    p.zoom = 2.5;
    return p;
}

Project Decoded(const QByteArray& bytes)
{
    auto result = DecodeProject(bytes);
    if (auto* error = std::get_if<QString>(&result)) {
        ADD_FAILURE() << error->toStdString();
        return {};
    }
    return std::get<Project>(result);
}

QString Refusal(const QByteArray& bytes)
{
    auto result = DecodeProject(bytes);
    return std::holds_alternative<QString>(result) ? std::get<QString>(result) : QStringLiteral("(opened)");
}

// The sample, with one of its fields changed as CBOR.
QByteArray Edited(const std::function<void(QCborMap&)>& change)
{
    QCborMap top = QCborValue::fromCbor(EncodeProject(Sample())).toMap();
    change(top);
    return top.toCborValue().toCbor();
}

} // namespace

// Everything comes back as it went, to the bit; a second save is the same bytes.
TEST(ProjectFile, RoundTripKeepsEveryField)
{
    const Project p = Sample();
    const QByteArray bytes = EncodeProject(p);
    const Project back = Decoded(bytes);
    EXPECT_EQ(back.picture.bytes, p.picture.bytes);
    EXPECT_EQ(back.picture.pdfPage, 3);
    EXPECT_EQ(back.state.RefX1, 1e-300);
    EXPECT_EQ(back.state.PointerIndex, 2);
    ASSERT_EQ(back.curves.size(), 2u);
    EXPECT_EQ(back.curves[0].rows, p.curves[0].rows);
    EXPECT_EQ(back.curves[0].colour, std::nullopt);
    EXPECT_EQ(back.curves[1].colour, Rgb(0, 114, 178));
    EXPECT_EQ(back.current, 1);
    EXPECT_EQ(EncodeProject(back), bytes);
}

// A later minor version's fields survive an open and save by this build.
TEST(ProjectFile, KeepsFieldsItDoesNotKnow)
{
    const QByteArray bytes = Edited([](QCborMap& top) {
        top[QStringLiteral("version")] = QCborArray{1, 7};
        top[QStringLiteral("annotations")] = QCborArray{QStringLiteral("peak"), 3.5};
        QCborMap settings = top[QStringLiteral("settings")].toMap();
        settings[QStringLiteral("gridSnap")] = true;
        top[QStringLiteral("settings")] = settings;
    });
    const QCborMap again = QCborValue::fromCbor(EncodeProject(Decoded(bytes))).toMap();
    EXPECT_EQ(again.value(QStringLiteral("annotations")).toArray(), (QCborArray{QStringLiteral("peak"), 3.5}));
    EXPECT_TRUE(again.value(QStringLiteral("settings")).toMap().value(QStringLiteral("gridSnap")).toBool());
}

TEST(ProjectFile, RefusesWhatIsNotAProjectItCanOpen)
{
    const QByteArray good = EncodeProject(Sample());
    QCborArray tooLong;
    for (int i = 0; i < MaxGridRowCount; ++i)
        tooLong.append(QCborArray{QString::number(i), QStringLiteral("1"), QStringLiteral("2")});
    const struct {
        const char* name;
        QByteArray bytes;
        const char* refusal;
    } cases[] = {
        {"empty", QByteArray(), "The project file is empty."},
        {"text", QByteArray("X Y\n1 2\n"), "This is not a Tracella project file."},
        {"truncated", good.left(good.size() / 2), "The project file is damaged: "},
        {"newer major version", Edited([](QCborMap& t) {
             t[QStringLiteral("version")] = QCborArray{2, 1};
         }),
         "This project was saved in project format 2.1, which is newer than this Tracella reads (1.x). Open it "
         "with a newer Tracella."},
        {"no picture", Edited([](QCborMap& t) { t.remove(QStringLiteral("picture")); }),
         "The project holds no picture."},
        {"no curve", Edited([](QCborMap& t) { t[QStringLiteral("curves")] = QCborArray{}; }),
         "The project holds no curve."},
        {"a curve named twice", Edited([](QCborMap& t) {
             QCborArray curves = t[QStringLiteral("curves")].toArray();
             QCborMap second = curves.at(1).toMap();
             second[QStringLiteral("name")] = QStringLiteral(" Kinetics, 25 °C ");
             curves[1] = second;
             t[QStringLiteral("curves")] = curves;
         }),
         "The project names the curve \" Kinetics, 25 °C \" twice."},
        {"too many rows", Edited([&](QCborMap& t) {
             QCborArray curves = t[QStringLiteral("curves")].toArray();
             QCborMap first = curves.at(0).toMap();
             first[QStringLiteral("rows")] = tooLong;
             curves[0] = first;
             t[QStringLiteral("curves")] = curves;
         }),
         "The curve \"Kinetics, 25 °C\" holds 32767 rows, more than the 32766 a curve can hold."},
        {"a calibration by axes without its maps", Edited([](QCborMap& t) {
             QCborMap calibration = t[QStringLiteral("calibration")].toMap();
             calibration[QStringLiteral("axes")] = QCborMap{{QStringLiteral("kinds"), QCborArray{0, 1}}};
             t[QStringLiteral("calibration")] = calibration;
         }),
         "The project file is damaged: its calibration by axes is incomplete."},
        {"current curve out of range", Edited([](QCborMap& t) { t[QStringLiteral("current")] = 2; }),
         "The project file is damaged: the current curve is not one of its curves."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(Refusal(c.bytes).startsWith(QString::fromUtf8(c.refusal))) << Refusal(c.bytes).toStdString();
    }
}

// The picture's bytes are one CBOR byte string, not text.
TEST(ProjectFile, PictureBytesAreStoredOnceUnencoded)
{
    Project p = Sample();
    p.picture.bytes = QByteArray(100000, '\xA5');
    const QByteArray bytes = EncodeProject(p);
    EXPECT_LT(bytes.size(), 100000 + 2000);
    EXPECT_EQ(bytes.count(QByteArray(100000, '\xA5')), 1);
}
