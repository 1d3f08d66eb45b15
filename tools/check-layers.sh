#!/bin/sh
# Fails when a source includes a header of a layer above its own. The layers,
# lowest first; a folder may include its own headers and those of the layers
# below it, never one above (so there are no cycles between folders either):
#   core               text, files, settings, the row store, command ids
#   catalogue/archive  LZH, ZIP and archiver libraries
#   analysis           file types, tag and MIDI readers, sound modules
#   catalogue          folder scans, title caches, list files, related files
#   player             player table, play order, launching
#   ui/rules           the windows' decisions, pure
#   ui/framework       window, dialog and control wrappers
#   actions            search, narrowing, export, file operations
#   ui                 the program's panes and dialogs
#   app                the main window and the client
#   tools/cli          the command-line program
root=${1:-.}
cd "$root" || exit 2
layers="core catalogue/archive analysis catalogue player ui/rules ui/framework actions ui app tools/cli"

files=$(for layer in $layers; do ls "$layer"/*.cpp "$layer"/*.h 2>/dev/null; done)
# The layer of a path is the longest layer folder it lies in.
awk -v layers="$layers" '
    function rank(path,    i, best, bestLength) {
        best = -1; bestLength = 0
        for (i = 1; i <= count; i++) {
            if (index(path, names[i] "/") == 1 && length(names[i]) > bestLength) {
                best = i; bestLength = length(names[i])
            }
        }
        return best
    }
    BEGIN { count = split(layers, names, " "); status = 0 }
    FNR == 1 { own = rank(FILENAME) }
    /^[ \t]*#[ \t]*include[ \t]*"/ {
        header = $0
        sub(/^[^"]*"/, "", header); sub(/".*/, "", header)
        if (rank(header) > own) {
            print FILENAME " includes " header ", a layer above its own" > "/dev/stderr"
            status = 1
        }
    }
    END { exit status }
' $files
