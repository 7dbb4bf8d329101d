#include "xml/MessageFill.h"

#include "QStringPrinter.h"

#include <gtest/gtest.h>

TEST(MessageFill, FillsConversionsWithoutPrintf) {
    EXPECT_EQ(FillMessage("%s 파일 (%d/%d)", {"a.txt", "3", "10"}), "a.txt 파일 (3/10)");
    EXPECT_EQ(FillMessage("%.1f KB/s, %ld, %I64d, %5s", {"1.5", "7", "8", "x"}),
              "1.5 KB/s, 7, 8, x");
    EXPECT_EQ(FillMessage("100%% done", {}), "100% done");
    EXPECT_EQ(FillMessage("%s %s %n %d", {"only"}), "only  %n ");
    EXPECT_EQ(FillMessage("trailing %", {"x"}), "trailing %");
    // Read as printf reads it, so existing texts fill as before: "% o" is a conversion.
    EXPECT_EQ(FillMessage("50% off %y", {"x"}), "50xff %y");
    EXPECT_EQ(FillMessage("", {"x"}), "");
}
