// telvdriver: the Win32 test driver of the Wine end-to-end tests. It acts on
// the windows of the programs under test as a user or another program of the
// suite would, and must run in the same (virtual) desktop as they do.
//
// Usage: telvdriver [--desktop NAME] COMMAND [ARGUMENTS] [--then COMMAND [ARGUMENTS]]...
//   find TITLE                          print the handle of the top-level window
//                                       titled exactly TITLE (hidden ones too)
//   wait TITLE [SECONDS]                wait until it exists; print its handle
//   wait-shown TITLE [SECONDS]          wait until it exists and is visible
//   wait-gone TITLE [SECONDS]           wait until no window has that title
//   list                                print every top-level window: handle,
//                                       visible (0/1), process id, class, title
//   children TITLE                      print the window's descendants: handle,
//                                       id, visible, class, text
//   foreground                          print the title of the foreground window
//   activate TITLE [SECONDS]            make it the foreground window; wait
//                                       until it is
//   post TITLE MESSAGE [WPARAM [LPARAM]]          post a message by number
//   post-registered TITLE NAME [WPARAM [LPARAM]]  post RegisterWindowMessageA(NAME)
//   key TITLE KEY                       post WM_KEYDOWN then WM_KEYUP; KEY is one
//                                       character (Q, 5, +), a name (RETURN,
//                                       ESCAPE, SPACE, LEFT, PAGEUP, F1...) or a
//                                       virtual-key number (0x26)
//   click TITLE ID                      post BM_CLICK to the control ID
//   command TITLE ID                    post WM_COMMAND with ID (menu item, button)
//   text TITLE ID                       print the control's text
//   set-text TITLE ID TEXT              set the control's text
//   wait-text TITLE ID TEXT [SECONDS]   wait until the control's text is TEXT
//   msgbox [--title T] [--timeout S] [--icon]
//                                       wait for a message box; print its text
//   close-msgbox [--title T] [--button B] [--timeout S] [--icon]
//                                       wait for a message box, print its text,
//                                       press B (ok, cancel, yes, no, abort,
//                                       retry, ignore or an id; default: OK, or
//                                       the only button) and wait until it closes
//                                       --icon prints the box's icon on a line
//                                       before the text: none, information,
//                                       exclamation, stop, question or other
//   screenshot FILE [TITLE]             write the desktop, or the screen area of
//                                       the window TITLE, to FILE as a 24-bit BMP
// Numbers are decimal or 0x hexadecimal; WPARAM and LPARAM may be negative.
// Waits poll every 100 ms; SECONDS defaults to --timeout S, else 30. Posting
// does not wait for the target to handle the message: wait for its effect
// (wait-text, a file).
// --desktop switches to the named desktop first, for a driver started outside.
// Commands joined by --then run one after another in one process, for steps
// that must follow each other within moments (a click and the key after it).
// Exit status: 0 success; 1 not found, timed out or failed (message on
// stderr); 2 bad usage.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "Commands.h"

namespace {

constexpr char kUsage[] =
    "Usage: telvdriver [--desktop NAME] COMMAND [ARGUMENTS] [--then COMMAND [ARGUMENTS]]...\n"
    "  find TITLE                          handle of the window titled exactly TITLE\n"
    "  wait TITLE [SECONDS]                wait until it exists; print its handle\n"
    "  wait-shown TITLE [SECONDS]          wait until it exists and is visible\n"
    "  wait-gone TITLE [SECONDS]           wait until no window has that title\n"
    "  list                                handle, visible, pid, class, title of each top-level window\n"
    "  children TITLE                      handle, id, visible, class, text of each descendant\n"
    "  foreground                          title of the foreground window\n"
    "  activate TITLE [SECONDS]            make it the foreground window; wait until it is\n"
    "  post TITLE MESSAGE [WPARAM [LPARAM]]          post a message by number\n"
    "  post-registered TITLE NAME [WPARAM [LPARAM]]  post RegisterWindowMessageA(NAME)\n"
    "  key TITLE KEY                       post WM_KEYDOWN and WM_KEYUP (Q, 5, RETURN, F1, 0x26...)\n"
    "  click TITLE ID                      post BM_CLICK to control ID\n"
    "  command TITLE ID                    post WM_COMMAND with ID (menu item, button)\n"
    "  text TITLE ID                       print the control's text\n"
    "  set-text TITLE ID TEXT              set the control's text\n"
    "  wait-text TITLE ID TEXT [SECONDS]   wait until the control's text is TEXT\n"
    "  msgbox [--title T] [--timeout S] [--icon]\n"
    "                                      wait for a message box; print its text\n"
    "  close-msgbox [--title T] [--button B] [--timeout S] [--icon]\n"
    "                                      print a message box's text and press B\n"
    "                                      (ok, cancel, yes, no, abort, retry, ignore, id;\n"
    "                                      default OK or the only button)\n"
    "                                      --icon: first the box's icon (none, information,\n"
    "                                      exclamation, stop, question, other)\n"
    "  screenshot FILE [TITLE]             desktop, or the window's area, as a BMP\n"
    "Numbers are decimal or 0x hex. SECONDS defaults to --timeout, else 30.\n"
    "Commands joined by --then run one after another in one process.\n"
    "Posting does not wait for the message to be handled.\n"
    "Exit status: 0 success, 1 not found/timed out/failed, 2 bad usage.\n";

void SwitchDesktop(const std::string& name) {
  // The handle stays open for the life of the process: the thread uses it.
  HDESK desktop = OpenDesktopA(name.c_str(), 0, FALSE, GENERIC_ALL);
  if (desktop == nullptr) driver::Fail("cannot open the desktop \"" + name + "\"");
  if (!SetThreadDesktop(desktop)) driver::Fail("cannot switch to the desktop \"" + name + "\"");
}

// Splits the words after the command into positional arguments and options.
driver::Arguments ParseArguments(const std::vector<std::string>& words, size_t first) {
  driver::Arguments args;
  for (size_t i = first; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (word == "--icon") {
      args.icon = true;
      continue;
    }
    if (word != "--title" && word != "--button" && word != "--timeout") {
      args.positional.push_back(word);
      continue;
    }
    if (i + 1 >= words.size()) driver::Usage(word + " needs a value");
    const std::string& value = words[++i];
    if (word == "--title") args.title = value;
    else if (word == "--button") args.button = value;
    else args.timeout = driver::ParseSeconds(value);
  }
  return args;
}

}  // namespace

int main(int argc, char** argv) {
  // Plain "\n" line ends, so that shell scripts read the output as it is.
  _setmode(_fileno(stdout), _O_BINARY);
  std::vector<std::string> words(argv + 1, argv + argc);
  if (!words.empty() && (words[0] == "--help" || words[0] == "help")) {
    fputs(kUsage, stdout);
    return 0;
  }
  try {
    size_t i = 0;
    if (words.size() >= 2 && words[0] == "--desktop") {
      SwitchDesktop(words[1]);
      i = 2;
    }
    if (i >= words.size()) driver::Usage("no command");
    // Commands joined by --then run one after another in this process: the
    // second is posted within moments of the first, where starting the
    // driver anew can take seconds on a busy machine.
    std::vector<std::string> command;
    for (; i <= words.size(); ++i) {
      if (i < words.size() && words[i] != "--then") {
        command.push_back(words[i]);
        continue;
      }
      if (command.empty()) driver::Usage("no command before or after --then");
      driver::RunCommand(command[0], ParseArguments(command, 1));
      command.clear();
    }
    fflush(stdout);
    return 0;
  } catch (const driver::Failure& failure) {
    fflush(stdout);
    fprintf(stderr, "telvdriver: %s\n", failure.message.c_str());
    if (failure.status == 2) fputs("telvdriver: see \"telvdriver --help\"\n", stderr);
    return failure.status;
  } catch (const std::exception& e) {
    fflush(stdout);
    fprintf(stderr, "telvdriver: %s\n", e.what());
    return 1;
  }
}
