// audiodsp: the window program. Parses the command line, builds the port list (the paths named with
// --port and, with --demo, a simulated line of amplifiers on a pty served from a thread of this
// process), and runs the main form on the Qt event loop.
#include <QApplication>
#include <QIcon>
#include <QStyleFactory>
#include <csignal>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "link/port_list.h"
#include "link/posix_serial_device.h"
#include "qt/app_options.h"
#include "qt/qt_dialogs.h"
#include "qt/qt_event_loop.h"
#include "qt/qt_form_view.h"
#include "qt/qt_text_renderer.h"
#include "qt/traced_serial_device.h"
#include "sim/pty_line.h"
#include "sim/virtual_line.h"
#include "ui/main_form.h"
#include "ui/port_source.h"

namespace {

using namespace audiodsp;

// The simulated line of the demo: three amplifiers on a pty, served in real time from a thread.
class DemoLine {
 public:
  DemoLine() : line_(config()), pty_(line_), thread_([this] { pty_.run(); }) {}
  ~DemoLine() {
    pty_.requestStop();
    thread_.join();
  }
  const std::string& path() const { return pty_.slavePath(); }

 private:
  static SimConfig config() {
    SimConfig c;
    c.ids = {1, 2, 7};
    return c;
  }
  VirtualLine line_;
  PtyLine pty_;
  std::thread thread_;
};

}  // namespace

int main(int argc, char** argv) {
  std::signal(SIGPIPE, SIG_IGN);
  // What prints and exits needs no display.
  bool window = true;
  for (int i = 1; i < argc; ++i) {
    const std::string_view a = argv[i];
    if (a == "--help" || a == "-h" || a == "--version" || a == "--list-ports") window = false;
  }
  std::unique_ptr<QCoreApplication> app;
  if (window) {
    app = std::make_unique<QApplication>(argc, argv);
    // The layout's coloured buttons need a style that paints the palette's button colour.
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    QApplication::setWindowIcon(QIcon::fromTheme("audiodsp"));
  } else {
    app = std::make_unique<QCoreApplication>(argc, argv);
  }
  QCoreApplication::setApplicationName("audiodsp");
  QCoreApplication::setApplicationVersion(AUDIODSP_VERSION);

  // Qt has taken its own arguments (-platform, -style, ...) out of the list.
  std::vector<std::string> words;
  for (const QString& a : QCoreApplication::arguments().mid(1)) words.push_back(a.toStdString());
  const std::vector<std::string_view> args(words.begin(), words.end());
  const auto parsed = parseAppOptions(args);
  if (const auto* error = std::get_if<std::string>(&parsed)) {
    std::fprintf(stderr, "audiodsp: %s\n", error->c_str());
    return 2;
  }
  const auto& options = std::get<AppOptions>(parsed);
  if (options.help) {
    std::fputs(appUsage().c_str(), stdout);
    return 0;
  }
  if (options.version) {
    std::printf("audiodsp %s\n", AUDIODSP_VERSION);
    return 0;
  }

  std::unique_ptr<DemoLine> demo;
  if (options.demo) demo = std::make_unique<DemoLine>();
  SystemPortSource ports(PortListOptions{options.ports, demo ? demo->path() : std::string(),
                                         demo ? "simulated amplifiers 1, 2, 7" : std::string()});
  if (options.listPorts) {
    for (const std::string& line : portListLines(ports)) std::printf("%s\n", line.c_str());
    return 0;
  }

  QtEventLoop loop;
  QtDialogs dialogs;
  QtTextRenderer text;
  PosixSerialDevice posix;
  std::optional<TracedSerialDevice> traced;
  if (options.trace) {
    traced.emplace(posix, [](const std::string& line) {
      std::printf("%s\n", line.c_str());
      std::fflush(stdout);
    });
  }
  SerialDevice& device = traced ? static_cast<SerialDevice&>(*traced) : posix;
  MainForm form(FormEnvironment{loop, dialogs, device, ports, &text});
  QtFormView view(form.form);
  dialogs.setParent(view.window());
  form.form.onClose = [previous = form.form.onClose] {
    if (previous) previous();
    QCoreApplication::quit();
  };
  view.window()->show();
  const int rc = QCoreApplication::exec();
  form.link.closePort();
  return rc;
}
