#pragma once

#include "app/core/Message.h"

#include <QFile>
#include <QObject>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

// Readable failure messages for texts.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace tracella::test {

// A message box as a whole: text, title, icon and buttons.
inline void ExpectMessage(const Message& m, const QString& text, const QString& title, MessageIcon icon,
                          MessageButtons buttons = MessageButtons::Ok)
{
    EXPECT_EQ(m.text, text);
    EXPECT_EQ(m.title, title);
    EXPECT_EQ(m.icon, icon);
    EXPECT_EQ(m.buttons, buttons);
}

inline void ExpectMessage(const Message& m, const Message& expected)
{
    ExpectMessage(m, expected.text, expected.title, expected.icon, expected.buttons);
}

// The unexpected-error message, whose text starts as given and goes on.
inline void ExpectErrorMessage(const Message& m, const QString& start = QStringLiteral("Error # "))
{
    EXPECT_TRUE(m.text.startsWith(start)) << m.text.toStdString();
    EXPECT_GT(m.text.size(), start.size());
    EXPECT_EQ(m.title, QStringLiteral("Error"));
    EXPECT_EQ(m.icon, MessageIcon::Exclamation);
    EXPECT_EQ(m.buttons, MessageButtons::Ok);
}

// A control found by its name; a missing one fails the test.
template <typename T>
T* Child(const QObject* parent, const char* name)
{
    T* child = parent->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

// A label's text, or a text that names the missing label.
inline QString LabelText(const QObject& parent, const char* name)
{
    for (const QObject* child : parent.findChildren<QObject*>(QString::fromLatin1(name)))
        if (child->inherits("QLabel"))
            return child->property("text").toString();
    return QStringLiteral("<no %1>").arg(QString::fromLatin1(name));
}

inline QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// Writes the file in the folder and gives its path.
inline QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    WriteBytes(path, bytes);
    return path;
}

} // namespace tracella::test
