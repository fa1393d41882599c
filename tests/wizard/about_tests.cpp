// The about window: its captions, its links and how it closes.

#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

#include "form2.h"

namespace orv {
namespace {

QLabel* labelOf(const QWidget& w, const QString& name)
{
    return w.findChild<QLabel*>(name);
}

TEST(About, ShowsItsCaptionsUnclipped)
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
        QLabel* l = labelOf(about, QString::fromLatin1(name));
        ASSERT_NE(l, nullptr) << name;
        EXPECT_EQ(l->text(), QString::fromUtf8(text)) << name;
    }
    EXPECT_TRUE(labelOf(about, "LabelFreeware")->text().contains(QStringLiteral("Freeware")));
    for (QLabel* l : about.findChildren<QLabel*>()) {
        if (l->text().isEmpty())
            continue;
        EXPECT_LE(l->heightForWidth(l->width()), l->height()) << l->objectName().toStdString();
        EXPECT_TRUE(about.rect().contains(QRect(l->mapTo(&about, QPoint(0, 0)), l->size())))
            << l->objectName().toStdString();
    }
}

TEST(About, ALinkOpensItsHostAndKeepsTheWindowAPlainClickClosesIt)
{
    std::vector<QUrl> opened;
    Form2 about([&](const QUrl& url) { opened.push_back(url); });
    about.show();
    QLabel* link = labelOf(about, "Links(0)");
    ASSERT_NE(link, nullptr);
    QTest::mouseClick(link, Qt::RightButton); // does nothing
    QTest::mouseClick(link, Qt::LeftButton);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl(QStringLiteral("http://") + link->text()));
    EXPECT_TRUE(about.isVisible());

    for (const char* target : {"Label(13)", "LabelFreeware", ""}) {
        Form2 other([](const QUrl&) {});
        other.show();
        QWidget* w = *target ? static_cast<QWidget*>(labelOf(other, target)) : &other;
        QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
        EXPECT_FALSE(other.isVisible()) << target;
    }
}

} // namespace
} // namespace orv
