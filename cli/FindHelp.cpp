// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/FindHelp.h"

namespace velmaro {

const char* FindHelpText() {
    return R"(Usage: velmaro-find [OPTION]...
Search folder trees with the Velmaro search engine and print what matches, or clean them up
(--delete, --trash) as the Velmaro window does. Nothing is ever deleted without --delete or
--trash.
Options are applied in the order given, so a later one overrides an earlier one.
A value follows its option as the next argument or attached to it (-n*.tmp, --name=*.tmp);
long options may be shortened to any unambiguous prefix; "--" ends the options.

What to look for and where:
  -n, --name MASKS        file-name masks separated by ";" ("*.tmp;~*.*"); none means "*.*"
  -l, --location LOCS     folders to search separated by ";"; each may start with a marker:
                          ">" subfolders, "N>" down to level N, "A-B>" levels A to B,
                          "<" this folder only
  -p, --path SPEC         a folder with one mask ("/tmp/*.log"), markers allowed; repeatable
  -f, --filter PATTERN    a path pattern that excludes files, or includes them again when it
                          starts with ">"; tested in the order given; repeatable
      --no-subfolders     do not descend into subfolders
      --min-level N       report no files above folder level N (the location is level 1)
      --max-level N       walk no deeper than level N (0: no limit)
  -a, --attr NAME=STATUS  NAME one of Readonly, Hidden, System, Directory, Archive, Device,
                          Normal, Temporary, SparseFile, ReparsePoint, Compressed, Offline,
                          NotContentIndexed, Encrypted, Virtual; STATUS one of ignore, set,
                          unset, anyset, anyunset; repeatable. By default Hidden, System and
                          Directory must be unset
      --size-min N        at least N bytes
      --size-max N        at most N bytes
      --created-before T  --created-after T
      --modified-before T --modified-after T
      --accessed-before T --accessed-after T
                          time bounds in local time, inclusive. T is a day number such as
                          39522 or a fraction such as 0.5, YYYY-MM-DD (a date-only bound),
                          HH:MM[:SS[.mmm]] (a time-only bound) or YYYY-MM-DDTHH:MM[:SS[.mmm]]
      --phrase TEXT       the file's content must contain TEXT
      --case-sensitive    compare the phrase in its letter case
      --whole-word        the phrase must stand as a whole word
      --negate            the file's content must not contain the phrase

Presets:
      --catalogue recommended|all
                          the masks of the junk-type catalogue: its 25 recommended rows or
                          all 42 rows
      --cleaner           the cleaner's settings: its path filters (the system's folders
                          are left alone) and hidden and system entries found and entered

Running and output:
      --threaded          walk on a worker thread
      --readers N         read the folders the walk enters next on N threads (0 to 64;
                          default: the number of cores, at least 2); 0 reads each folder
                          when the walk enters it
      --long              add, tab-separated, the size in bytes, the attribute word as 8
                          hexadecimal digits and the creation, modification and access times
                          as local YYYY-MM-DD HH:MM:SS.mmm
  -0, --null              end each record with NUL instead of a newline (for names that
                          hold a newline); applies to the path and the --long output
      --events            print every event in order instead: begin, folder<TAB>PATH,
                          match<TAB>PATH, finish<TAB>aborted=0|1
      --json              print one JSON object per line instead: {"event":"match",
                          "path":P,"size":N,"attributes":N,"created":T,"modified":T,
                          "accessed":T} for each match (begin, folder and finish too with
                          --events), and with a clean-up one result per file and the
                          totals. P is a string where the path is valid UTF-8, else an
                          array of its byte values
  -h, --help              print this help and exit
      --version           print the program's version and exit

Clean-up (the window's deletion pass and report; at most one of the three):
      --delete            delete every file found, as the window deletes: only the very
                          file the search listed, never through a link or across a mount,
                          never one that another program holds open; then print the report
      --trash             move every file found into the desktop's trash instead
                          ($XDG_DATA_HOME/Trash, or the trash of the file's drive); the
                          report's freed size is 0, as the files stay on their drives
      --dry-run           change nothing; print the report that --delete would give
      --report FILE       also write the report to FILE as the window saves it (system
                          code page, CR LF line ends), under the name as given
As text a clean-up prints only its report; list the files with --json, or run the same
search without a clean-up first. SIGINT, SIGTERM and SIGHUP stop a clean-up after the file
it is working on (during the search: before anything is touched).

Paths are printed as the bytes the system gave, unescaped (JSON: escaped as above).
Exit status: 0 when the search ran and, with a clean-up, every file went (--dry-run: would
go); 1 when a file stayed, a clean-up was stopped, or the output or the report could not be
written; 2 for a bad option or value, or a report file that cannot be written (then nothing
is touched).
)";
}

} // namespace velmaro
