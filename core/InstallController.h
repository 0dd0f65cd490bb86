#pragma once
// What the installer asks of its wizard controller. The controller owns the windows and pages;
// the installer creates it through a factory, runs it, and deletes it at the end.

#include "embedded/InstallBase.h"

#include <cstdint>

class CInstall;

class CInstallController {
public:
    virtual ~CInstallController() {}

    // Stores the module instance and prepares fonts and common controls; 0 on failure.
    virtual int Init(HINSTANCE instance) = 0;
    // Creates the main window and runs the message loop until it ends; 0 when no main window
    // object could be made.
    virtual int Run() = 0;
    // Deletes the font and every remaining window object.
    virtual void DestroyWindows() = 0;
    // A message box of the text of id under the common title; the MessageBoxW result.
    virtual int MessageBoxId(uint32_t id, uint32_t type) = 0;
    // The main window, or null when there is none.
    virtual HWND MainWindowHandle() const = 0;
    // Called when the installation starts.
    virtual void DisablePageControls() = 0;
};

// Makes the controller of an installer; null on failure.
using InstallControllerFactory = CInstallController* (*)(CInstall* install);
