// The printer a plot goes to, chosen from the installed printers.
#include <gtest/gtest.h>

#include "shell/PrinterChoice.h"

TEST(PrinterChoice, WantedThenDefaultThenFirstAndThePdfPrinterWithoutAny) {
    const std::vector<mmInstalledPrinter> office = {{"Laser", false}, {"Plotter", true}};
    const struct {
        std::vector<mmInstalledPrinter> installed;
        const char* wanted;
        const char* chosen;
    } cases[] = {
        {{}, "", ""},
        {{}, "Laser", ""},
        {office, "Laser", "Laser"},
        {office, "", "Plotter"},
        {office, "Gone", "Plotter"},
        {{{"Laser", false}, {"Inkjet", false}}, "", "Laser"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChoosePrinter(c.installed, c.wanted), c.chosen)
            << c.wanted << " of " << c.installed.size();
}
