#include <QApplication>
#include <QFrame>
#include <gtest/gtest.h>

#include "wizard_harness.h"

namespace orv::test {

std::vector<int> visiblePages(const Form1& form)
{
    std::vector<int> pages;
    for (int n = 1; n <= 11; ++n)
        if (!form.ui().frame(n)->isHidden())
            pages.push_back(n);
    return pages;
}

} // namespace orv::test

int main(int argc, char** argv)
{
    // Test discovery runs the program without the test environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
