// The file side of the RO-4D pages: "Запомнить в файл", "Загрузить из файла"
// and the register export. None of them touches the serial port.
#pragma once

#include "devices/qv4m/qv4m_registers.h"

#include <QString>

class TQv4mPages;
class TRelcon4;
class QWidget;

// Wires Button3 and Button4 of the mode page.
void InstallQv4mFileCommands(TRelcon4* window, TQv4mPages* pages);

void Qv4mButton3Click(TQv4mPages& pages);
void Qv4mButton4Click(TRelcon4& window, TQv4mPages& pages);
// Puts a whole configuration onto the pages as a file load does.
void Qv4mLoadImage(TRelcon4& window, TQv4mPages& pages, const TRo4dImage& image);
// Writes the configuration file under the name, asking before it replaces one.
void prSaveRegsFile(TQv4mPages& pages, const QString& fileName);
// The file the user picks for loading; empty when cancelled.
void prSelectLoadFile(QWidget* parent, QString& fileName);

// The two writers prPageToRegs calls once the images are built; each tells
// the user how it went.
void WriteConfigFileOf(const QString& fileName);
void WriteRegExport();
