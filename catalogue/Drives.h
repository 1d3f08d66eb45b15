// The drive list of the folder tree and the readiness check of a drive.
// Reading drives, their display names and their readiness is the platform's;
// the texts shown are made here.
#pragma once

#include <cstdint>
#include <string>

#include "core/BagBox.h"

// An empty drive list: 1 string column of roots ("C:\\"), ignoring case.
BagBox MakeDriveList();

// Empties the list and adds every drive root, upper case. Returns the count.
int32_t ReadDrives(BagBox* driveList);

// The tree's text of a drive: "DVD/CD-ROM (Q:)" for a CD or DVD drive, else
// the shell's display name of the root.
std::string DriveDisplayName(const char* root);

// "DVD/CD-ROM (" and the root with its last character (the separator)
// turned into ")".
std::string CdRomDisplayName(const char* root);

// The text of the box shown while a drive is not ready.
std::string DriveNotReadyMessage(const char* root);

// True when the drive answers. While it does not, and unless silent, asks the
// user to retry or cancel (the owner window owns the box); false on cancel or
// when silent. The caller sets up the drive's change watch on true and drops
// it on false.
bool CheckDriveReady(const char* root, bool silent, void* ownerWindow);
