// The program's windows, created once in a fixed order and kept for the run.
#pragma once

class TRelcon4;
class TStartForm;
class TMonitorForm;
class TParamPortForm;
class TStatusCOMForm;
class TBoxMessage;
class TCaseComForm;
class TStatErrForm;

extern TRelcon4* Relcon4;
extern TStartForm* StartForm;
extern TMonitorForm* MonitorForm;
extern TParamPortForm* ParamPortForm;
extern TStatusCOMForm* StatusCOMForm;
extern TBoxMessage* BoxMessage;
extern TCaseComForm* CaseComForm;
extern TStatErrForm* StatErrForm;

// Creates the windows in their order: main window, splash, log, exchange
// parameters, port status, message box holder, port selection, statuses and errors.
// With showSplash false the splash is created but its countdown is not started
// (tests activate the main window themselves).
void CreateAppWindows(bool showSplash = true);
// Destroys them in reverse order and clears the pointers.
void DestroyAppWindows();
