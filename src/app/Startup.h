// Top floor (src/app): entry point, start-up, splash and main window; may use every folder.
#pragma once
// The start-up sequence: load everything, show the splash for at least two seconds from the
// start, then the main window.

#include "config/DaylightState.h" // notePcDaylightState, the first step

#include <QString>
#include <functional>
#include <vector>

class frmMain;

struct StartupStep {
    QString name;
    std::function<void()> run;
};

// The loading steps between noting the start time and showing the splash, in order.
// A later subsystem joins start-up by adding its step at its place in this list.
std::vector<StartupStep> startupLoadingSteps();

// Runs a step; anything it throws ends only that step.
void runStartupStep(const StartupStep &step);

// The whole sequence; returns the main window, shown.
frmMain *startup();

// How long the splash stays: until two seconds after the start.
constexpr int kSplashMilliseconds = 2000;
