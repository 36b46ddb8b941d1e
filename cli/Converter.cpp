#include "Converter.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <new>
#include <optional>
#include <set>
#include <system_error>
#include <unordered_set>
#include <utility>

#include "Conversion.h"
#include "Detector.h"
#include "Families.h"
#include "FileNames.h"
#include "InputFile.h"
#include "OutputFile.h"
#include "OutputFormat.h"
#include "Profile.h"
#include "SafeFormat.h"
#include "StringTable.h"

#ifndef BANKWISE_VERSION
#define BANKWISE_VERSION "unknown"
#endif

namespace bankwise {
namespace {

namespace fs = std::filesystem;

// The stored settings with this run's overrides on top. Only the three
// naming entries are overridden, in whichever family section is read, since
// the family is known only once the dump has been recognised. A run never
// changes what is stored, so writes are refused.
class COverrideProfile final : public IProfile
{
public:
    COverrideProfile(const IProfile& base, std::map<std::string, std::string> overrides)
        : m_base(base), m_overrides(std::move(overrides))
    {}

    std::string GetProfileString(const std::string& section, const std::string& entry,
                                 const std::string& def) const override
    {
        const auto it = m_overrides.find(entry);
        return it != m_overrides.end() ? it->second : m_base.GetProfileString(section, entry, def);
    }
    int GetProfileInt(const std::string& section, const std::string& entry, int def) const override
    {
        return m_base.GetProfileInt(section, entry, def);
    }
    bool WriteProfileString(const std::string&, const std::string&, const std::string&) override
    {
        return false;
    }
    bool WriteProfileInt(const std::string&, const std::string&, int) override { return false; }

private:
    const IProfile& m_base;
    std::map<std::string, std::string> m_overrides;
};

struct COptions
{
    std::vector<std::string> dumps;
    std::optional<std::string> outputFile;
    std::optional<std::string> outputDir;
    std::map<std::string, std::string> overrides;  // by entry name
    bool noSettings = false;
    bool verbose = false;
    std::optional<std::string> formatName;
    EOutputFormat format = EOutputFormat::Ins;
};

enum class EAction { Convert, Help, Version, Usage };

struct CParsed
{
    EAction action = EAction::Convert;
    std::string problem;  // for EAction::Usage
};

std::string Format1(std::uint32_t id, std::string_view text)
{
    return SafeFormat(LoadString(id), {FormatArg::Text(text)});
}

std::string SystemReason(int error)
{
    return std::generic_category().message(error != 0 ? error : EIO);
}

CParsed ParseArguments(const std::vector<std::string>& args, COptions& options)
{
    // Options that take a value, and where the value goes.
    const auto target = [&options](std::string_view name) -> std::string* {
        if (name == "-o" || name == "--output")
            return &options.outputFile.emplace();
        if (name == "-d" || name == "--output-dir")
            return &options.outputDir.emplace();
        if (name == "--definition")
            return &options.overrides[kEntryDefinition];
        if (name == "--bank-format")
            return &options.overrides[kEntryBankFormat];
        if (name == "--instr-format")
            return &options.overrides[kEntryInstrFormat];
        if (name == "--format")
            return &options.formatName.emplace();
        return nullptr;
    };

    bool endOfOptions = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        // A lone "-" is a file name like any other.
        if (endOfOptions || arg.size() < 2 || arg[0] != '-') {
            options.dumps.push_back(arg);
            continue;
        }
        if (arg == "--") {
            endOfOptions = true;
        } else if (arg == "--help" || arg == "-h") {
            return {EAction::Help, {}};
        } else if (arg == "--version") {
            return {EAction::Version, {}};
        } else if (arg == "--no-settings") {
            options.noSettings = true;
        } else if (arg == "-v" || arg == "--verbose") {
            options.verbose = true;
        } else {
            const auto equals = arg.find('=');
            const bool attached = arg.starts_with("--") && equals != std::string::npos;
            const std::string name = attached ? arg.substr(0, equals) : arg;
            std::string* value = target(name);
            if (value == nullptr)
                return {EAction::Usage, Format1(IDS_CLI_UNKNOWN_OPTION, name)};
            if (attached) {
                *value = arg.substr(equals + 1);
            } else if (i + 1 < args.size()) {
                *value = args[++i];
            } else {
                return {EAction::Usage, Format1(IDS_CLI_MISSING_ARGUMENT, name)};
            }
        }
    }

    if (options.formatName) {
        const auto format = FindOutputFormat(*options.formatName);
        if (!format)
            return {EAction::Usage, Format1(IDS_CLI_UNKNOWN_FORMAT, *options.formatName)};
        options.format = *format;
    }
    if (options.dumps.empty())
        return {EAction::Usage, LoadString(IDS_CLI_NO_DUMP)};
    if (options.outputFile && options.outputDir)
        return {EAction::Usage, LoadString(IDS_CLI_OUTPUT_CONFLICT)};
    if (options.dumps.size() > 1 && !options.outputDir)
        return {EAction::Usage, LoadString(IDS_CLI_SEVERAL_DUMPS)};
    return {};
}

struct CDumpResult
{
    bool ok = false;
    std::string text;
    std::vector<std::string> messages;  // why it failed
    std::vector<std::string> warnings;  // a cut-off dump, what the format had to leave out
    std::string contents;               // what the dump held
};

CDumpResult ConvertOne(const std::string& path, EOutputFormat format, const IProfile& profile)
{
    CDumpResult result;
    try {
        CInputFile source(path);
        if (!source.IsOpen()) {
            result.messages.push_back(Format1(IDS_CANNOT_OPEN, SystemReason(source.OpenError())));
            return result;
        }
        const CConversion conversion = ConvertDump(source, IsMidiFileName(path), profile);
        if (!conversion.Succeeded()) {
            result.messages.push_back(DescribeError(conversion.error));
            return result;
        }
        result.warnings = DescribeNotes(conversion.notes);
        result.contents = conversion.extractor->DescribeContents();
        // Only a value outside the enumeration fails, and options never hold one.
        WriteOutput(*conversion.extractor, format, result.text, &result.warnings);
        result.ok = true;
    } catch (const std::bad_alloc&) {
        result.text.clear();
        result.messages.push_back(LoadString(IDS_OUT_OF_MEMORY));
    }
    return result;
}

// A set of files, to tell whether a path names one of them: by its
// normalised absolute name or that of the file its links lead to (which
// is what an output to it would write), or, for files that exist, by
// identity (links, and letter case on file systems that ignore it). Each
// path is resolved once, when it is added or looked up, so a run of N dumps
// costs N look-ups and not N times N comparisons.
class CFileSet
{
public:
    struct CKey
    {
        std::string normal;
        std::string followed;
        std::optional<CFileIdentity> identity;
    };

    static CKey KeyOf(const std::string& name)
    {
        CKey key;
        std::error_code ec;
        key.normal = NameOfPath(fs::absolute(PathFromName(name), ec).lexically_normal());
        const std::string file = DescribeOutputTarget(name).file;
        key.followed = file.empty()
                           ? key.normal
                           : NameOfPath(fs::absolute(PathFromName(file), ec).lexically_normal());
        key.identity = FileIdentityOf(name);
        return key;
    }

    void Add(const CKey& key)
    {
        m_names.insert(key.normal);
        m_names.insert(key.followed);
        if (key.identity)
            m_identities.insert(*key.identity);
    }

    bool Contains(const CKey& key) const
    {
        if (m_names.contains(key.normal) || m_names.contains(key.followed))
            return true;
        return key.identity && m_identities.contains(*key.identity);
    }

private:
    std::unordered_set<std::string> m_names;
    std::set<CFileIdentity> m_identities;
};

int Convert(const COptions& options, std::ostream& out, std::ostream& err, IProfile& stored)
{
    CMemoryProfile empty;
    COverrideProfile profile(options.noSettings ? static_cast<const IProfile&>(empty) : stored,
                             options.overrides);
    const bool toFiles = options.outputFile || options.outputDir;
    CFileSet inputs;
    CFileSet written;
    if (toFiles) {
        for (const std::string& dump : options.dumps)
            inputs.Add(CFileSet::KeyOf(dump));
    }
    int status = kExitOk;

    for (const std::string& dump : options.dumps) {
        const auto fail = [&](const std::string& message) {
            err << dump << ": " << message << '\n';
            status = kExitFailed;
        };

        const CDumpResult result = ConvertOne(dump, options.format, profile);
        if (!result.ok) {
            for (const std::string& message : result.messages)
                fail(message);
            continue;
        }
        // Scripts read standard error for failures: what a dump held is
        // said only when asked for.
        if (options.verbose)
            err << dump << ": " << result.contents << '\n';
        for (const std::string& warning : result.warnings)
            err << dump << ": " << warning << '\n';

        if (!toFiles) {
            errno = 0;
            out.write(result.text.data(), static_cast<std::streamsize>(result.text.size()));
            out.flush();
            if (!out) {
                fail(SafeFormat(LoadString(IDS_CANNOT_WRITE),
                                {FormatArg::Text(LoadString(IDS_STANDARD_OUTPUT)),
                                 FormatArg::Text(SystemReason(errno))}));
            }
            continue;
        }

        std::string targetName;
        if (options.outputFile) {
            targetName = *options.outputFile;
        } else {
            fs::path target = PathFromName(*options.outputDir) / PathFromName(dump).stem();
            target += GetOutputExtension(options.format);
            targetName = NameOfPath(target);
        }
        const CFileSet::CKey key = CFileSet::KeyOf(targetName);
        if (written.Contains(key)) {
            fail(Format1(IDS_SAME_OUTPUT, targetName));
            continue;
        }
        if (inputs.Contains(key)) {
            fail(Format1(IDS_OUTPUT_IS_INPUT, targetName));
            continue;
        }
        if (const auto reason = WriteOutputFile(targetName, result.text)) {
            fail(SafeFormat(LoadString(IDS_CANNOT_WRITE),
                            {FormatArg::Text(targetName), FormatArg::Text(*reason)}));
            continue;
        }
        // Known by name already; by identity only now that it exists.
        written.Add(CFileSet::KeyOf(targetName));
    }
    return status;
}

}  // namespace

int RunConverter(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                 IProfile& stored)
{
    COptions options;
    const CParsed parsed = ParseArguments(args, options);
    switch (parsed.action) {
    case EAction::Help:
        out << LoadString(IDS_CLI_HELP) << DescribeOutputRules() << LoadString(IDS_CLI_HELP_EXIT)
            << LoadString(IDS_CLI_FAMILIES);
        for (const CFamily& family : Families())
            out << "  " << LoadString(family.nameId) << '\n';
        out.flush();
        return out ? kExitOk : kExitFailed;
    case EAction::Version:
        out << "bankwise-convert " << BANKWISE_VERSION << '\n';
        out.flush();
        return out ? kExitOk : kExitFailed;
    case EAction::Usage:
        err << parsed.problem << '\n' << LoadString(IDS_CLI_USAGE) << '\n';
        return kExitUsage;
    case EAction::Convert:
        break;
    }
    return Convert(options, out, err, stored);
}

}  // namespace bankwise
