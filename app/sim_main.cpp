// audiodsp-sim: a line of virtual amplifiers on a pseudo-terminal. Prints the terminal's
// path; point audiodsp (or any serial program) at it.
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "sim/pty_line.h"
#include "sim/sim_options.h"
#include "sim/virtual_line.h"

namespace {

using namespace audiodsp;

// Replaces an old symlink at `path`, but never a file or directory someone put there.
bool makeLink(const std::string& target, const std::string& path) {
  struct stat st {};
  if (lstat(path.c_str(), &st) == 0) {
    if (!S_ISLNK(st.st_mode)) {
      std::fprintf(stderr, "audiodsp-sim: %s exists and is not a symlink\n", path.c_str());
      return false;
    }
    unlink(path.c_str());
  }
  if (symlink(target.c_str(), path.c_str()) != 0) {
    std::perror(("audiodsp-sim: symlink " + path).c_str());
    return false;
  }
  return true;
}

// Removes our symlink unless someone has pointed it elsewhere meanwhile.
void removeLink(const std::string& target, const std::string& path) {
  char buf[512];
  const ssize_t n = readlink(path.c_str(), buf, sizeof buf);
  if (n >= 0 && std::string_view(buf, size_t(n)) == target) unlink(path.c_str());
}

int serve(const SimOptions& options) {
  sigset_t signals;
  sigemptyset(&signals);
  for (int s : {SIGTERM, SIGINT, SIGHUP, SIGUSR1, SIGUSR2}) sigaddset(&signals, s);
  sigprocmask(SIG_BLOCK, &signals, nullptr);
  std::signal(SIGPIPE, SIG_IGN);
  const int sigFd = signalfd(-1, &signals, SFD_CLOEXEC | SFD_NONBLOCK);
  if (sigFd < 0) {
    std::perror("audiodsp-sim: signalfd");
    return 1;
  }

  VirtualLine line(options.config);
  PtyLine pty(line);
  if (!options.linkPath.empty() && !makeLink(pty.slavePath(), options.linkPath)) return 1;
  std::printf("%s\n", pty.slavePath().c_str());
  std::fflush(stdout);
  if (options.trace) pty.setTrace([](const std::string& l) { std::printf("%s\n", l.c_str()); });

  pty.addInput(sigFd, [&] {
    signalfd_siginfo info{};
    while (read(sigFd, &info, sizeof info) == ssize_t(sizeof info)) {
      if (info.ssi_signo == SIGUSR1 || info.ssi_signo == SIGUSR2) {
        line.setAllSilent(info.ssi_signo == SIGUSR1);
      } else {
        pty.closeLine();
      }
    }
    return true;
  });
  std::string typed;
  pty.addInput(STDIN_FILENO, [&] {
    char buf[512];
    const ssize_t n = read(STDIN_FILENO, buf, sizeof buf);
    if (n <= 0) return false;  // end of input: keep serving without a console
    typed.append(buf, size_t(n));
    for (size_t eol; (eol = typed.find('\n')) != std::string::npos;) {
      const auto result = runSimCommand(line, std::string_view(typed).substr(0, eol));
      typed.erase(0, eol + 1);
      std::fputs(result.output.c_str(), stdout);
      if (result.closeLine) {
        pty.closeLine();
        break;
      }
    }
    return true;
  });

  pty.run();
  pty.closeLine();
  if (!options.linkPath.empty()) removeLink(pty.slavePath(), options.linkPath);
  close(sigFd);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IOLBF, 0);
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  const auto parsed = parseSimOptions(args);
  if (const auto* error = std::get_if<std::string>(&parsed)) {
    std::fprintf(stderr, "audiodsp-sim: %s\n", error->c_str());
    return 2;
  }
  const auto& options = std::get<SimOptions>(parsed);
  if (options.help) {
    std::fputs(simUsage().c_str(), stdout);
    return 0;
  }
  try {
    return serve(options);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "audiodsp-sim: %s\n", e.what());
    return 1;
  }
}
