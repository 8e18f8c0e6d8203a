// The PDF printer's sheets chosen in page setup.
#include <gtest/gtest.h>

#include "shell/ImageEncoders.h"

TEST(PdfPrinter, SheetsInPrinterPixelsAt600Dpi) {
    EXPECT_EQ(PdfPrinterSetup("A4", false), kestrel::platform::PdfPrinterA4());
    EXPECT_EQ(PdfPrinterSetup("unknown", false), kestrel::platform::PdfPrinterA4());
    const struct {
        const char* paper;
        bool landscape;
        int width, height;
    } cases[] = {{"A4", true, 7016, 4960}, {"A3", false, 7016, 9921}, {"Letter", true, 6600, 5100}};
    for (const auto& c : cases) {
        const kestrel::platform::PrinterSetup s = PdfPrinterSetup(c.paper, c.landscape);
        EXPECT_EQ(s.paperName, c.paper);
        EXPECT_EQ(s.metrics.horzRes, c.width) << c.paper;
        EXPECT_EQ(s.metrics.vertRes, c.height) << c.paper;
        EXPECT_EQ(s.metrics.physicalHeight, c.height) << c.paper;
        EXPECT_EQ(s.landscape, c.landscape);
    }
}
