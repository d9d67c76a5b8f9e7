// How the Browse buttons run their file-open dialog. The dialog is modal and
// waits for a user, so tests put a stand-in here that answers for one.
#pragma once
#include "fw/FileDialog.h"

typedef INT_PTR (*FileDialogRunner)(CFileDialog& dialog);

// Runs the dialog for real: IDOK when a file was chosen.
INT_PTR RunFileDialogModally(CFileDialog& dialog);

extern FileDialogRunner RunProgramFileDialog;
