// The main window's tests: the list control and the window itself.
#include <QApplication>

int runListViewTests(int argc, char *argv[]);
int runForm1Tests(int argc, char *argv[]);

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int listFailures = runListViewTests(argc, argv);
    const int formFailures = runForm1Tests(argc, argv);
    return listFailures + formFailures;
}
