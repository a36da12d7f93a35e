#pragma once

#include <QStringList>

// Runs the browser from process start to process end; returns the exit code.
int RunOrbwell(int argc, char *argv[]);
