// The about window: its captions, its links and how it closes.

#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

#include "form2.h"
#include "orvista_version.h"

namespace orv {
namespace {

TEST(About, ShowsItsCaptionsUnclipped)
{
    Form2 about([](const QUrl&) {});
    EXPECT_EQ(about.windowTitle(), "Info zu Orvista");
    const std::pair<const char*, const char*> captions[] = {
        {"LabelInfo", "Info zu"},           {"LabelName", "Orvista"},
        {"LabelVersion", "Version:"},       {"Label1", ORVISTA_VERSION " XP"},
        {"LabelAchtung", "Achtung:"},       {"Label(1)", "Gesamte Programmierung und Design\n2002-04 by:"},
        {"LinksCaption", "Links"},          {"Label(3)", "Gold, Silber\nEnglisch & Deutsch"},
        {"DankAnCaption", "Dank an"},       {"Label(13)", "Unterstützte Roms:\nSprachversionen:"},
    };
    for (const auto& [name, text] : captions) {
        const QLabel* l = about.findChild<QLabel*>(QString::fromLatin1(name));
        ASSERT_NE(l, nullptr) << name;
        EXPECT_EQ(l->text(), text) << name;
    }
    EXPECT_TRUE(about.findChild<QLabel*>("LabelFreeware")->text().contains("Freeware"));
    for (QLabel* l : about.findChildren<QLabel*>()) {
        if (!l->text().isEmpty()) {
            EXPECT_LE(l->heightForWidth(l->width()), l->height()) << l->objectName().toStdString();
            EXPECT_TRUE(about.rect().contains(QRect(l->mapTo(&about, QPoint(0, 0)), l->size())))
                << l->objectName().toStdString();
        }
    }
}

TEST(About, ALinkOpensItsHostAndKeepsTheWindowAPlainClickClosesIt)
{
    std::vector<QUrl> opened;
    Form2 about([&](const QUrl& url) { opened.push_back(url); });
    about.show();
    QLabel* link = about.findChild<QLabel*>("Links(0)");
    ASSERT_NE(link, nullptr);
    QTest::mouseClick(link, Qt::RightButton); // does nothing
    QTest::mouseClick(link, Qt::LeftButton);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl("http://" + link->text()));
    EXPECT_TRUE(about.isVisible());

    for (const char* target : {"Label(13)", "LabelFreeware", ""}) {
        Form2 other([](const QUrl&) {});
        other.show();
        QWidget* w = *target ? static_cast<QWidget*>(other.findChild<QLabel*>(target)) : &other;
        QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
        EXPECT_FALSE(other.isVisible()) << target;
    }
}

} // namespace
} // namespace orv
