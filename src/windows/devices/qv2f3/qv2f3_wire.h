// Connects the "ZE2-R3" page to the program's port, transaction engine and
// exchange log once both the main window and the log window exist.
#pragma once

class TRelcon4;
class TMonitorForm;
class TQv2f3Page;

// The page's link through the main window's port commands and the log
// window's serial component, and the log window's background reception
// handing bench packets to the page.
void WireQv2f3Page(TQv2f3Page* page, TRelcon4* window, TMonitorForm* monitor);
