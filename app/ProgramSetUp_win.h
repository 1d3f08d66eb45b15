// The start-up steps that fill the program values and make the archive
// code ready.
#pragma once

// Fills programFolder, workFilePath and wmaReadable from the system and tells
// the type table and the archive code about them.
void SetProgramPaths();

// Installs the archive branches, loads the archiver libraries found and
// keeps LZH and ZIP available, which our own decoders read without them.
void SetUpArchives();
