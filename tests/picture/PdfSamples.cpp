#include "PdfSamples.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>

#include <cmath>
#include <vector>

namespace tracella::test {
namespace {

// A PDF of numbered objects with its cross-reference table.
QByteArray assemble(const std::vector<QByteArray>& objects, const QByteArray& trailerExtra = {})
{
    QByteArray out("%PDF-1.4\n");
    std::vector<qsizetype> offsets;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(out.size());
        out += QByteArray::number(static_cast<int>(i + 1)) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const qsizetype xref = out.size();
    out += "xref\n0 " + QByteArray::number(static_cast<int>(objects.size() + 1)) + "\n0000000000 65535 f \n";
    for (qsizetype offset : offsets)
        out += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    out += "trailer\n<< /Size " + QByteArray::number(static_cast<int>(objects.size() + 1)) + " /Root 1 0 R " +
           trailerExtra + ">>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return out;
}

QByteArray stream(const QByteArray& content)
{
    return "<< /Length " + QByteArray::number(content.size()) + " >>\nstream\n" + content + "\nendstream";
}

QByteArray pageObjects(QSizeF points, int contentsObject)
{
    return "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + QByteArray::number(points.width(), 'f', 2) + " " +
           QByteArray::number(points.height(), 'f', 2) + "] /Contents " + QByteArray::number(contentsObject) + " 0 R >>";
}

const QByteArray SquareContent("0 0 1 rg 10 10 40 40 re f");

QByteArray rc4(const QByteArray& key, const QByteArray& data)
{
    unsigned char s[256];
    for (int i = 0; i < 256; ++i)
        s[i] = static_cast<unsigned char>(i);
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + s[i] + static_cast<unsigned char>(key[i % key.size()])) & 255;
        std::swap(s[i], s[j]);
    }
    QByteArray out(data.size(), '\0');
    for (qsizetype n = 0, i = 0, j = 0; n < data.size(); ++n) {
        i = (i + 1) & 255;
        j = (j + s[i]) & 255;
        std::swap(s[i], s[j]);
        out[n] = static_cast<char>(data[n] ^ static_cast<char>(s[(s[i] + s[j]) & 255]));
    }
    return out;
}

} // namespace

QByteArray PlotPdfBytes(int pages, QSizeF pagePoints, int segments)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(72);
    writer.setPageSize(QPageSize(pagePoints, QPageSize::Point));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&writer);
    const QRectF plot(50, 50, pagePoints.width() - 100, pagePoints.height() - 100);
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            writer.newPage();
        painter.setPen(QPen(Qt::black, 1));
        painter.drawRect(plot);
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) // text needs a font database
            painter.drawText(QPointF(plot.left(), plot.top() - 10), QStringLiteral("Figure %1").arg(page + 1));
        QPainterPath curve;
        for (int i = 0; i <= segments; ++i) {
            const double t = static_cast<double>(i) / segments;
            const QPointF p(plot.left() + t * plot.width(),
                            plot.center().y() - 0.4 * plot.height() * std::sin(t * (page + 1) * 6.283));
            if (i == 0)
                curve.moveTo(p);
            else
                curve.lineTo(p);
        }
        painter.setPen(QPen(QColor(200, 0, 0), 1.5));
        painter.drawPath(curve);
    }
    painter.end();
    return bytes;
}

QByteArray SimplePdfBytes(QSizeF pagePoints)
{
    return assemble({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                     pageObjects(pagePoints, 4), stream(SquareContent)});
}

QByteArray NoPagePdfBytes()
{
    return assemble({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [] /Count 0 >>"});
}

QByteArray EncryptedPdfBytes(const QByteArray& userPassword)
{
    static const QByteArray padding = QByteArray::fromHex("28BF4E5E4E758A4164004E56FFFA01082E2E00B6D0683E802F0CA9FE6453697A");
    const auto padded = [](const QByteArray& password) { return (password + padding).left(32); };
    const auto md5 = [](const QByteArray& data) { return QCryptographicHash::hash(data, QCryptographicHash::Md5); };
    const auto hex = [](const QByteArray& bytes) { return "<" + bytes.toHex() + ">"; };
    const QByteArray id = md5("tracella test document");
    const qint32 permissions = -4;
    QByteArray p(4, '\0');
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<char>((permissions >> (8 * i)) & 0xff);
    const QByteArray owner = rc4(md5(padded("owner")).left(5), padded(userPassword));
    const QByteArray key = md5(padded(userPassword) + owner + p + id).left(5);
    const QByteArray user = rc4(key, padding);
    // Object 4's stream is encrypted with its own key.
    const QByteArray objectKey = md5(key + QByteArray::fromHex("040000") + QByteArray::fromHex("0000")).left(10);
    const QByteArray encryptDictionary = "<< /Filter /Standard /V 1 /R 2 /O " + hex(owner) + " /U " + hex(user) +
                                         " /P " + QByteArray::number(permissions) + " >>";
    return assemble({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                     pageObjects(QSizeF(200, 100), 4), stream(rc4(objectKey, SquareContent)), encryptDictionary},
                    "/Encrypt 5 0 R /ID [" + hex(id) + " " + hex(id) + "] ");
}

} // namespace tracella::test
