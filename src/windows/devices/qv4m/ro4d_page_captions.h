// The RO-4D pages take their captions from the core's tables, which the
// protocol and the command line use too.
#pragma once

class QWidget;

// Sets every label and box of the tables that lies on page.
void ApplyRo4dCaptions(QWidget* page);
