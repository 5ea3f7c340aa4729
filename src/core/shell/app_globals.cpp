#include "shell/app_globals.h"

#include <QCoreApplication>

int CustomBaud = 9600;
QString ExeDir;
TPcDate PcDate;

QString ExecutableDir() {
    QString dir = QCoreApplication::applicationDirPath();
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

void ResetAppGlobals() {
    CustomBaud = 9600;
    ExeDir.clear();
    PcDate = {};
}
