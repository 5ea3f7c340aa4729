// Connects the ZI2-Z3 page (tab "ZE2-R3") to the log window's handler of
// background reception once both exist; the page's exchanges go through the core's ZI2-Z3 service.
#pragma once

class TMonitorForm;
class TQv2f3Page;

// The log window cuts what it receives between exchanges into bench packets
// and hands each to the page.
void WireQv2f3Page(TQv2f3Page* page, TMonitorForm* monitor);
