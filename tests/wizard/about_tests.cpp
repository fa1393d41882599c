// The about window and its opening from the main window.

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "form2.h"
#include "wizard_harness.h"

namespace orv::test {
namespace {

QLabel* labelOf(const QWidget& w, const char* name)
{
    return w.findChild<QLabel*>(QString::fromLatin1(name));
}

void send(QWidget* target, QEvent::Type type, QPoint local, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, QPointF(local), QPointF(target->mapToGlobal(local)), button, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

TEST(About, ShowsItsCaptions)
{
    Form2 about([](const QUrl&) {});
    EXPECT_EQ(about.windowTitle(), "Info zu Orvista");
    const std::pair<const char*, const char*> captions[] = {
        {"LabelInfo", "Info zu"},
        {"LabelName", "Orvista"},
        {"LabelVersion", "Version:"},
        {"Label1", "4.11 XP"},
        {"LabelAchtung", "Achtung:"},
        {"Label(1)", "Gesamte Programmierung und Design\n2002-04 by:"},
        {"Label(3)", "Gold, Silber\nEnglisch & Deutsch"},
        {"Label(13)", "Unterstützte Roms:\nSprachversionen:"},
        {"LinksCaption", "Links"},
        {"DankAnCaption", "Dank an"},
    };
    for (const auto& [name, text] : captions) {
        QLabel* l = labelOf(about, name);
        ASSERT_NE(l, nullptr) << name;
        EXPECT_EQ(l->text(), QString::fromUtf8(text)) << name;
    }
    EXPECT_TRUE(labelOf(about, "LabelFreeware")->text().contains(QStringLiteral("Freeware")));
    for (QLabel* l : about.findChildren<QLabel*>()) {
        if (l->text().isEmpty())
            continue;
        EXPECT_LE(l->heightForWidth(l->width()), l->height()) << l->objectName().toStdString();
        const QRect inWindow(l->mapTo(&about, QPoint(0, 0)), l->size());
        EXPECT_TRUE(about.rect().contains(inWindow)) << l->objectName().toStdString();
    }
}

TEST(About, LinksOpenTheirHostAndKeepTheWindow)
{
    std::vector<QUrl> opened;
    Form2 about([&](const QUrl& url) { opened.push_back(url); });
    about.show();
    int links = 0;
    for (; QLabel* link = labelOf(about, QStringLiteral("Links(%1)").arg(links).toLatin1().constData()); ++links) {
        QTest::mouseClick(link, Qt::LeftButton);
        ASSERT_EQ(opened.size(), static_cast<size_t>(links + 1));
        EXPECT_EQ(opened.back(), QUrl(QStringLiteral("http://") + link->text()));
        EXPECT_TRUE(opened.back().host().endsWith(QStringLiteral("example.org")));
    }
    EXPECT_GE(links, 1);
    QTest::mouseClick(labelOf(about, "Label5"), Qt::LeftButton);
    EXPECT_EQ(opened.size(), static_cast<size_t>(links + 1));
    EXPECT_TRUE(about.isVisible());
    // The right button does nothing.
    QTest::mouseClick(labelOf(about, "Links(0)"), Qt::RightButton);
    EXPECT_EQ(opened.size(), static_cast<size_t>(links + 1));
}

TEST(About, AClickOnALabelOrTheBackgroundClosesIt)
{
    for (const char* target : {"Label(13)", "Deko", "LabelFreeware", ""}) {
        Form2 about([](const QUrl&) {});
        about.show();
        QWidget* w = *target ? static_cast<QWidget*>(labelOf(about, target)) : static_cast<QWidget*>(&about);
        ASSERT_NE(w, nullptr) << target;
        QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
        EXPECT_FALSE(about.isVisible()) << target;
    }
}

TEST(About, DraggingWithTheLeftButtonMovesIt)
{
    Form2 about([](const QUrl&) {});
    about.move(100, 100);
    about.show();
    QLabel* label = labelOf(about, "Label(13)");
    const QPoint start = about.pos();
    send(label, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
    send(label, QEvent::MouseMove, {25, 15}, Qt::NoButton, Qt::LeftButton);
    send(label, QEvent::MouseButtonRelease, {25, 15}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(about.pos(), start + QPoint(20, 10));
    EXPECT_TRUE(about.isVisible());

    // Moving without the button does nothing.
    send(label, QEvent::MouseMove, {45, 45}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(about.pos(), start + QPoint(20, 10));
}

TEST(About, OpensModallyFromTheAboutButton)
{
    Harness h;
    Form1& f = h.start();
    QString seen;
    bool modal = false;
    QTimer::singleShot(0, [&] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            seen = w->objectName();
            modal = w->isModal();
            w->close();
        }
    });
    f.ui().Command7->click();
    EXPECT_EQ(seen, "Form2");
    EXPECT_TRUE(modal);
}

} // namespace
} // namespace orv::test
