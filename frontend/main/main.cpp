// quorvel: the desktop front end of the engine. It reads no command line.
#include <QApplication>

#include "frmmain.h"
#include "platform/paths.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setOrganizationName("quorvel");
  QApplication::setApplicationName("quorvel");
  quorvel::HelpFile = platform::program_folder() + "/help/";
  quorvel::QtPorts ports;
  quorvel::frmMain window(ports.ports());
  ports.set_parent(&window);
  window.Load();
  return QApplication::exec();
}
