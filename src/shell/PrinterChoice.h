// The printers a plot can go to: the installed ones (as Qt's printing support lists them), the
// choice among them, and a printer's page as layouts see it. With no printer installed the PDF
// printer stands in.
#pragma once

#include <string>
#include <vector>

#include "platform/Printer.h"

class QPrinter;

struct mmInstalledPrinter {
    std::string name;
    bool isDefault = false;
};

// The printer a plot or a page setup starts from: the one wanted (a layout's) when it is
// installed, else the system's default, else the first installed; empty (the PDF printer) when
// none is installed.
std::string ChoosePrinter(const std::vector<mmInstalledPrinter>& installed,
                          const std::string& wanted);

std::vector<mmInstalledPrinter> InstalledPrinters();

// The printer's name, sheet, orientation and device values: its printable area and whole sheet
// in printer pixels at its resolution.
kestrel::platform::PrinterSetup SetupOfPrinter(const QPrinter& printer);
// The installed printer of the setup with its sheet and orientation (a sheet it lacks keeps the
// printer's own), at full resolution.
void ApplySetup(const kestrel::platform::PrinterSetup& setup, QPrinter& printer);
