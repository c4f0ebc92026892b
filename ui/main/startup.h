// Start-up and shut-down of the program: one instance per user, the fatal
// checks (installed locales, engine handles), the main window placed and
// shown, the event loop, and the order in which everything ends.
#pragma once

// Runs the program; returns the process exit code: 0 after a normal end and
// after handing over to an instance already running, -1 after a fatal error.
// Options: "--screenshot FILE" saves a picture of the main window to FILE
// once the start-up job is over and "--type WORD" (typed into the search box
// of the source list) has been looked up, then ends the program.
int runWordbay(int argc, char** argv);
