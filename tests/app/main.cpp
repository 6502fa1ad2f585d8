// The main window's tests: the list control, the window itself, its settings, refresh and
// monitoring, the selection and kill commands.
#include <QApplication>

int runListViewTests(int argc, char *argv[]);
int runForm1Tests(int argc, char *argv[]);
int runSettingsTests(int argc, char *argv[]);
int runSettingsFileTests(int argc, char *argv[]);
int runRefreshTests(int argc, char *argv[]);
int runCommandsTests(int argc, char *argv[]);

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int listFailures = runListViewTests(argc, argv);
    const int formFailures = runForm1Tests(argc, argv);
    const int settingsFailures = runSettingsTests(argc, argv);
    const int settingsFileFailures = runSettingsFileTests(argc, argv);
    const int refreshFailures = runRefreshTests(argc, argv);
    const int commandsFailures = runCommandsTests(argc, argv);
    return listFailures + formFailures + settingsFailures + settingsFileFailures + refreshFailures +
           commandsFailures;
}
