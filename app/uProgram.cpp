#include "uProgram.h"

#include "fHlavny.h"
#include "uAppContext.h"
#include "uOkna.h"
#include "uSpolocne.h"

#include <QApplication>

void InitialiseUnits() {
    AppContext().Reset(QCoreApplication::applicationDirPath());
    SetDecSep(SystemDecimalSeparator());
}

int RunProgram(int argc, char **argv, const TProgramLinks &links) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarbelon"));
    // The main window ends the program when it closes, whatever else is open.
    QApplication::setQuitOnLastWindowClosed(false);
    InitialiseUnits();
    int result = 0;
    {
        TProgramWindows windows(links);
        windows.Main().show();
        result = QApplication::exec();
    }
    return result;
}
