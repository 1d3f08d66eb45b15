// The commands of quillory-cli over the catalogue: list, info, cache and
// export-html.
#include "tools/cli/CliCommands.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <streambuf>

#include "QuilloryVersion.h"
#include "actions/FileOps.h"
#include "actions/HtmlExport.h"
#include "actions/SongRows.h"
#include "analysis/FileTypes.h"
#include "analysis/SoundModules.h"
#include "catalogue/FolderScan.h"
#include "catalogue/FullSongAnalyzer.h"
#include "catalogue/ListFile.h"
#include "catalogue/OpenLocation.h"
#include "catalogue/TitleCache.h"
#include "catalogue/archive/ArchiveAccess.h"
#include "catalogue/archive/ArchiveKind.h"
#include "catalogue/archive/Archivers.h"
#include "core/Cp932.h"
#include "core/FileFinder.h"
#include "core/Location.h"
#include "core/SongFile.h"
#include "core/Text.h"

namespace {

const char kUsage[] =
    "usage: quillory-cli list LOCATION [--subfolders] [--player KIND] [--sort KIND] [--desc]\n"
    "                         [--no-cache-update] [--utf8|--sjis]\n"
    "       quillory-cli info FILE [--utf8|--sjis]\n"
    "       quillory-cli cache {update|new|delete} LOCATION\n"
    "       quillory-cli export-html LOCATION OUT.html [--subfolders] [--player KIND] [--sort KIND]\n"
    "                         [--desc] [--no-cache-update]\n"
    "       quillory-cli --help | -h | --version\n"
    "LOCATION is a folder, a list file (.lst) or an archive. KIND of --player is a player\n"
    "number (0-11, 100); without it every music file is listed. KIND of --sort is none,\n"
    "name, title, comment, module or date.\n"
    "Output and messages are UTF-8 with --utf8 and Shift_JIS with --sjis; without either,\n"
    "UTF-8 when the locale's character set is (LC_ALL, LC_CTYPE, LANG), else Shift_JIS.\n"
    "On Windows they follow the console: Shift_JIS unless --utf8.\n";

// Files between two progress lines of a scan or a cache refresh.
constexpr int32_t kProgressStep = 5000;

struct NamedValue {
    const char* name;
    int32_t value;
};

constexpr NamedValue kSortNames[] = {
    {"none", kSortNone},         {"name", kSortByName},          {"title", kSortByTitle},
    {"comment", kSortByComment}, {"module", kSortBySoundModule}, {"date", kSortByDate},
};

// What the command line asked for.
struct CliOptions {
    std::vector<std::string> operands;
    bool subFolders = false;
    int32_t player = -1;  // -1: every music file
    int32_t sortKind = kSortByName;
    bool descending = false;
    bool cacheUpdate = true;
};

// Messages and progress of the catalogue on the error stream.
class CliHost : public CatalogueHost {
   public:
    CliHost(std::ostream& err, LocationKind kind) : err_(err), kind_(kind) {
    }

    void NoteEntryScanned() override {
        if (++entries_ % kProgressStep == 0) {
            err_ << "quillory-cli: " << entries_ << " entries scanned\n";
        }
    }
    LocationKind SelectedNodeKind() override {
        return kind_;
    }
    void ShowProgress(const char*, int32_t percent, int32_t unreadable) override {
        if (++read_ % kProgressStep == 0) {
            err_ << "quillory-cli: reading titles, " << percent << "% (" << unreadable << " unreadable)\n";
        }
    }
    void ShowFileError(uint32_t error, const std::string& text) override {
        failed_ = true;
        err_ << "quillory-cli: " << text << " (error " << error << ")\n";
    }
    void ShowWarning(const std::string& text) override {
        err_ << "quillory-cli: warning: " << text << '\n';
    }
    bool Failed() const {
        return failed_;
    }

   private:
    std::ostream& err_;
    LocationKind kind_;
    int64_t entries_ = 0;
    int64_t read_ = 0;
    bool failed_ = false;
};

}  // namespace

static bool ParseNumber(const std::string& text, int32_t* value) {
    char* end = nullptr;
    const long number = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || number < -1 || number > 1000) {
        return false;
    }
    *value = int32_t(number);
    return true;
}

static bool ParseSortKind(const std::string& text, int32_t* kind) {
    for (const NamedValue& row : kSortNames) {
        if (CompareNoCase(text.c_str(), row.name) == 0) {
            *kind = row.value;
            return true;
        }
    }
    return ParseNumber(text, kind) && *kind >= kSortNone && *kind <= kSortByDate;
}

// Parses the options after the command; false with a message on a bad one.
static bool ParseOptions(const std::vector<std::string>& args, CliOptions* options, std::ostream& err) {
    for (size_t i = 1; i < args.size(); i++) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--subfolders") {
            options->subFolders = true;
        } else if (arg == "--desc") {
            options->descending = true;
        } else if (arg == "--no-cache-update") {
            options->cacheUpdate = false;
        } else if (arg == "--utf8" || arg == "--sjis") {
            // Taken by RunCli before the command runs.
        } else if (arg == "--player" && hasValue) {
            if (!ParseNumber(args[++i], &options->player) || PlayerTypeMask(options->player) == 0) {
                err << "quillory-cli: unknown player kind: " << args[i] << "\n";
                return false;
            }
        } else if (arg == "--sort" && hasValue) {
            if (!ParseSortKind(args[++i], &options->sortKind)) {
                err << "quillory-cli: unknown sort kind: " << args[i] << "\n";
                return false;
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            err << "quillory-cli: unknown option or missing value: " << arg << "\n";
            return false;
        } else {
            options->operands.push_back(arg);
        }
    }
    return true;
}

// A command-line path with the catalogue's separators. Separators typed on
// the command line are single bytes; the names between them are CP932.
static std::string CatalogueSeparators(const std::string& argument) {
    std::string path = argument;
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

std::string LocationOfArgument(const std::string& argument, bool isFolder) {
    std::string location = CatalogueSeparators(argument);
    if (Location(location).EndsInMark()) {
        return location;
    }
    if (!isFolder && (IsListFileName(location.c_str()) || ArchiveKindOfName(location.c_str()) != kArchiveNone)) {
        return location + ">";
    }
    if (location.empty() || location.back() != '\\') {
        location += '\\';
    }
    return location;
}

// A TSV field: tabs and line breaks inside a title would break the row.
// Control bytes are never trail bytes, so a byte scan is safe.
static std::string Field(const char* text) {
    std::string field = text;
    for (char& c : field) {
        if (uint8_t(c) < 0x20) {
            c = ' ';
        }
    }
    return field;
}

// Whether a path names a folder: a finder on its entries finds something (a
// real folder always lists "." at least).
static bool IsFolder(const std::string& path) {
    std::string pattern = path;
    if (pattern.empty() || (pattern.back() != '/' && pattern.back() != '\\')) {
        pattern += '/';
    }
    FindRecord record;
    return FinderOpen(&record, (pattern + "*").c_str(), nullptr)->Found();
}

// Says why a path could not be used: a path too long for the program's
// paths in the program's own words, else the given reason.
static void ReportPathError(const std::string& path, uint32_t error, const char* reason, std::ostream& err) {
    err << "quillory-cli: " << path << ": "
        << (error == kErrorFilenameExcedRange ? FileErrorText(error, false, "") : std::string(reason)) << "\n";
}

// Checks that a location can be read; false with a message when not.
static bool CheckLocation(const std::string& location, LocationKind kind, std::ostream& err) {
    if (kind == kLocationListFile) {
        std::string body;
        uint32_t error = kErrorSuccess;
        const std::string listPath = location.substr(0, location.size() - 1);
        if (!OpenListFile(listPath.c_str(), &body, &error)) {
            ReportPathError(listPath, error, error == kErrorSuccess ? "not a list file" : "cannot read the list file",
                            err);
            return false;
        }
        return true;
    }
    FindRecord record;
    const std::unique_ptr<FileFinder> finder = FinderOpen(&record, (location + "*.*").c_str(), nullptr);
    if (!finder->Found()) {
        const bool damaged = finder->Error() != kErrorSuccess && finder->Error() != uint32_t(-1) &&
                             ArchiveKindOfPath(location.c_str(), false) != kArchiveNone;
        ReportPathError(location, finder->Error(), damaged ? "damaged archive" : "no such folder or archive", err);
        return false;
    }
    return true;
}

// Everything a command needs to open a location.
struct CliCatalogue {
    CliCatalogue(std::ostream& err, LocationKind kind)
        : modules(MakeSoundModuleTable()),
          detectors(MakeSoundModuleDetectorTable()),
          analyzer(&detectors, kDefaultSearchStrFlag, &modules),
          host(err, kind) {
        SetDefaultSoundModules(&modules, &detectors);
        state.host = &host;
        state.analyzer = &analyzer;
    }
    BagBox modules;
    BagBox detectors;
    FullSongAnalyzer analyzer;
    CliHost host;
    CatalogueState state;
};

// Opens the location as the folder tree would; false when it cannot be read.
static bool OpenCliLocation(CliCatalogue& catalogue, const std::string& location, const CliOptions& options) {
    CatalogueState& state = catalogue.state;
    state.location = location;
    state.includeSubFolders = options.subFolders;
    state.playerTypeMask = options.player < 0 ? PlayerTypeMask(100) : PlayerTypeMask(options.player);
    state.settings.sortKind = options.sortKind;
    state.settings.sortDescending = options.descending;
    state.settings.autoCache = false;
    OpenLocation(state, OpenOptions());
    return !catalogue.host.Failed();
}

// Refreshes (update) or recreates the cache; true when it was written or
// nothing needed writing.
static bool RefreshCliCache(CliCatalogue& catalogue, bool update) {
    catalogue.analyzer.KeepFolderListing(true);
    RefreshTitleCache(catalogue.state.cache, catalogue.state.scanList, catalogue.host, catalogue.analyzer, update,
                      false);
    catalogue.analyzer.KeepFolderListing(false);
    return !catalogue.host.Failed();
}

static LocationKind KindOfLocation(const std::string& location) {
    return Location(location).GetKind() == Location::Kind::kListFile ? kLocationListFile : kLocationFolder;
}

// Opens the location named by the first operand for a listing and refreshes
// its cache unless told not to. As the program's window does, only a cache
// file that is there is refreshed; "cache new" makes one. Null (with a
// message) when the location
// cannot be read. A cache that cannot be written (read-only folder, full
// disk) stops nothing: as in the program's window, the failure is reported,
// the old cache file stays as it was, and the titles just read are listed.
static std::unique_ptr<CliCatalogue> OpenListing(const CliOptions& options, std::ostream& err) {
    const std::string& argument = options.operands[0];
    const std::string location = LocationOfArgument(argument, IsFolder(argument));
    const LocationKind kind = KindOfLocation(location);
    if (!CheckLocation(location, kind, err)) {
        return nullptr;
    }
    auto catalogue = std::make_unique<CliCatalogue>(err, kind);
    if (!OpenCliLocation(*catalogue, location, options)) {
        return nullptr;
    }
    if (options.cacheUpdate && catalogue->state.cacheFileExisted && !RefreshCliCache(*catalogue, true)) {
        err << "quillory-cli: warning: the title cache was not written; its songs are read again next time\n";
    }
    return catalogue;
}

static void PrintObjectList(CliCatalogue& catalogue, std::ostream& out) {
    CatalogueState& state = catalogue.state;
    const BagBox& objects = state.objectList;
    for (int32_t i = 0; i < objects.Count(); i++) {
        const char* path = objects.Read(i, ObjectListColumn::path);
        const char* timeText = objects.Read(i, ObjectListColumn::timeText);
        const int32_t fileType = objects.iRead(i, ObjectListColumn::fileType);
        std::string title;
        std::string comment;
        std::string module;
        LookUpTitleAndComment(state.cache, catalogue.analyzer, path, timeText, fileType, &title, &comment);
        LookUpSoundModule(state.cache, catalogue.analyzer, path, timeText, fileType, &module);
        out << Field(path) << '\t' << Field(objects.Read(i, ObjectListColumn::displayName)) << '\t'
            << Field(title.c_str()) << '\t' << Field(comment.c_str()) << '\t' << Field(module.c_str()) << '\t'
            << DateColumnText(timeText) << '\n';
    }
}

static int RunList(const CliOptions& options, std::ostream& out, std::ostream& err) {
    if (options.operands.size() != 1) {
        err << kUsage;
        return kCliBadUsage;
    }
    std::unique_ptr<CliCatalogue> catalogue = OpenListing(options, err);
    if (!catalogue) {
        return kCliFailed;
    }
    PrintObjectList(*catalogue, out);
    return kCliSuccess;
}

// Writes every row of the location as the program's HTML export does.
static int RunExportHtml(const CliOptions& options, std::ostream& err) {
    if (options.operands.size() != 2) {
        err << kUsage;
        return kCliBadUsage;
    }
    std::unique_ptr<CliCatalogue> catalogue = OpenListing(options, err);
    if (!catalogue) {
        return kCliFailed;
    }
    CatalogueRows rows(catalogue->state, catalogue->analyzer, false, "");
    std::vector<int32_t> all(size_t(rows.RowCount()));
    for (size_t i = 0; i < all.size(); i++) {
        all[i] = int32_t(i);
    }
    HtmlListSummary summary;
    summary.location = catalogue->state.location;
    summary.totalObjects = rows.RowCount();
    summary.sortKind = options.sortKind;
    summary.sortDescending = options.descending;
    summary.time = CurrentLocalTime();
    const std::string& outPath = options.operands[1];
    const uint32_t error = WriteHtmlList(outPath.c_str(), rows, all, summary);
    if (error != kErrorSuccess) {
        err << "quillory-cli: " << outPath << ": cannot write the file (error " << error << ")\n";
        return kCliFailed;
    }
    return kCliSuccess;
}

static int RunCache(const CliOptions& options, std::ostream& err) {
    if (options.operands.size() != 2) {
        err << kUsage;
        return kCliBadUsage;
    }
    const std::string& action = options.operands[0];
    if (action != "update" && action != "new" && action != "delete") {
        err << "quillory-cli: unknown cache action: " << action << "\n" << kUsage;
        return kCliBadUsage;
    }
    const std::string& argument = options.operands[1];
    const std::string location = LocationOfArgument(argument, IsFolder(argument));
    const LocationKind kind = KindOfLocation(location);
    if (!CheckLocation(location, kind, err)) {
        return kCliFailed;
    }
    CliCatalogue catalogue(err, kind);
    if (action == "delete") {
        TitleCacheState& cache = catalogue.state.cache;
        cache.location = location;
        cache.kind = kind;
        return DeleteTitleCache(cache, catalogue.host, TitleCacheFilePath(location.c_str(), kind).c_str()) ? kCliSuccess
                                                                                                           : kCliFailed;
    }
    CliOptions all = options;
    all.subFolders = false;
    if (!OpenCliLocation(catalogue, location, all)) {
        return kCliFailed;
    }
    return RefreshCliCache(catalogue, action == "update") ? kCliSuccess : kCliFailed;
}

static int RunInfo(const CliOptions& options, std::ostream& out, std::ostream& err) {
    if (options.operands.size() != 1) {
        err << kUsage;
        return kCliBadUsage;
    }
    const std::string& path = options.operands[0];
    FindRecord record;
    const std::unique_ptr<FileFinder> finder = FinderOpen(&record, path.c_str(), nullptr);
    if (!finder->Found()) {
        ReportPathError(path, finder->Error(), "no such file", err);
        return kCliFailed;
    }
    out << SongInformationText(CatalogueSeparators(path).c_str());
    return kCliSuccess;
}

// Archives list like folders: through the archiver libraries where they are
// installed, and LZH and ZIP through our own readers everywhere.
static void EnableArchives() {
    static bool librariesLoaded = false;
    if (!librariesLoaded) {
        LoadArchivers();
        librariesLoaded = true;
    }
    SetArchiveAvailable(kArchiveLzh, true);
    SetArchiveAvailable(kArchiveZip, true);
    InstallArchiveAccess();
}

// Whether any argument is one of the given options.
static bool HasOption(const std::vector<std::string>& args, std::initializer_list<const char*> names) {
    for (const std::string& arg : args) {
        for (const char* name : names) {
            if (arg == name) {
                return true;
            }
        }
    }
    return false;
}

// Runs the command; the streams take the catalogue's CP932 text.
static int RunCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (HasOption(args, {"--help", "-h"})) {
        out << kUsage;
        return kCliSuccess;
    }
    if (HasOption(args, {"--version"})) {
        out << "quillory-cli " << kProgramVersion << "\n";
        return kCliSuccess;
    }
    EnableArchives();
    if (args.empty()) {
        err << kUsage;
        return kCliBadUsage;
    }
    CliOptions options;
    if (!ParseOptions(args, &options, err)) {
        return kCliBadUsage;
    }
    // A command walks its location first and then reads the songs found.
    const WalkedFoldersScope walked;
    const std::string& command = args[0];
    if (command == "list") {
        return RunList(options, out, err);
    }
    if (command == "cache") {
        return RunCache(options, err);
    }
    if (command == "info") {
        return RunInfo(options, out, err);
    }
    if (command == "export-html") {
        return RunExportHtml(options, err);
    }
    err << "quillory-cli: unknown command: " << command << "\n" << kUsage;
    return kCliBadUsage;
}

CliEncoding EncodingOfLocale(const char* lcAll, const char* lcCtype, const char* lang) {
    const char* locale = "";
    for (const char* name : {lcAll, lcCtype, lang}) {
        if (name && *name) {
            locale = name;
            break;
        }
    }
    // language_TERRITORY.codeset@modifier; the code set is spelt "UTF-8" or "utf8".
    const char* dot = std::strchr(locale, '.');
    if (!dot) {
        return CliEncoding::kShiftJis;
    }
    std::string codeSet = dot + 1;
    codeSet.resize(std::min(codeSet.size(), codeSet.find('@')));
    return CompareNoCase(codeSet.c_str(), "UTF-8") == 0 || CompareNoCase(codeSet.c_str(), "utf8") == 0
               ? CliEncoding::kUtf8
               : CliEncoding::kShiftJis;
}

namespace {

// A stream buffer that takes CP932 text and hands it on as UTF-8, a line at
// a time: a line break is never part of a double-byte character, so no
// character is cut. The error stream also flushes each line, so progress
// lines show while a scan runs; the rows go on in the target's own blocks.
class Utf8LineBuffer : public std::streambuf {
   public:
    Utf8LineBuffer(std::ostream& target, bool flushEachLine) : target_(target), flushEachLine_(flushEachLine) {
    }
    ~Utf8LineBuffer() override {
        sync();
    }

   protected:
    std::streamsize xsputn(const char* text, std::streamsize n) override {
        line_.append(text, size_t(n));
        if (std::memchr(text, '\n', size_t(n)) != nullptr && LinesDue()) {
            PassLines();
        }
        return n;
    }
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) {
            return traits_type::not_eof(c);
        }
        line_ += traits_type::to_char_type(c);
        if (c == '\n' && LinesDue()) {
            PassLines();
        }
        return c;
    }
    int sync() override {
        target_ << Cp932ToUtf8(line_.c_str());
        target_.flush();
        line_.clear();
        return 0;
    }

   private:
    // Lines are handed on one by one where each is flushed, else in blocks.
    bool LinesDue() const {
        return flushEachLine_ || line_.size() >= kBlockBytes;
    }

    // Hands on every whole line held, keeping a started one.
    void PassLines() {
        const size_t end = line_.rfind('\n') + 1;
        std::string rest = line_.substr(end);
        line_.resize(end);
        target_ << Cp932ToUtf8(line_.c_str());
        if (flushEachLine_) {
            target_.flush();
        }
        line_.swap(rest);
    }

    static constexpr size_t kBlockBytes = 16384;
    std::ostream& target_;
    const bool flushEachLine_;
    std::string line_;
};

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, CliEncoding encoding) {
    // The last of --utf8 and --sjis wins, as options usually do.
    for (const std::string& arg : args) {
        if (arg == "--utf8") {
            encoding = CliEncoding::kUtf8;
        } else if (arg == "--sjis") {
            encoding = CliEncoding::kShiftJis;
        }
    }
    if (encoding == CliEncoding::kShiftJis) {
        return RunCommand(args, out, err);
    }
    Utf8LineBuffer outBuffer(out, false);
    Utf8LineBuffer errBuffer(err, true);
    std::ostream utf8Out(&outBuffer);
    std::ostream utf8Err(&errBuffer);
    const int code = RunCommand(args, utf8Out, utf8Err);
    utf8Out.flush();
    utf8Err.flush();
    return code;
}
