// The four files VEGMATCH reads, formatted from the converted reference
// data: SPECDICT.txt, ASSOCTAB.txt, NVCTYPES.txt and HELP.txt. All are plain
// fixed-column text with LF line ends. NAMES.txt, the table of full names
// beside them, is formatted in tools/fullnames.h, the CSV files in
// tools/csvfiles.h.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "tools/abbrev.h"
#include "tools/nvcdata.h"

namespace nvcdata {

constexpr std::size_t kHelpPageLines = 23;
constexpr std::size_t kHelpLineWidth = 60;

/// SPECDICT.txt: per record the species number in columns 1-4, a blank and
/// the key in columns 6-14, in the dictionary's (ascending key) order.
std::string formatSpecdict(const ReferenceData& data);

/// ASSOCTAB.txt: header E (1-5) and S (6-10); E entries of community (3
/// columns) and class code (2), 15 to a line; S species records of number,
/// first and last entry index (5 columns each). A species' entries are
/// consecutive, species in ascending number, entries in community order; a
/// species without entries has no record.
std::string formatAssoctab(const ReferenceData& data);

/// One NVCTYPES.txt record with its texts already shortened to their widths.
struct NvcRecord {
  std::string nvc_code;           // 6
  std::string community_name;     // 24
  std::string subcommunity_name;  // 16, blank for a community
  std::string eunis_code;         // 8
  std::string eunis_name;         // 24
};

/// The genus names of the source tables (first words of the taxon and
/// original names), which the abbreviator may cut to initials.
std::set<std::string> genera(const Sources& sources);

/// The NVCTYPES.txt records of `data`, names shortened by `abbreviator`.
/// Throws std::runtime_error when two communities of a group, or two
/// subcommunities of a community, end up with the same name, or a EUNIS
/// code is longer than 8 characters.
std::vector<NvcRecord> nvcRecords(const ReferenceData& data, const Abbreviator& abbreviator);

/// NVCTYPES.txt: per community column 1 blank, 2-7 NVC code, 8 blank, 9-32
/// community name, 33-48 subcommunity name, 49-56 EUNIS code, 57-80 EUNIS
/// name; every record 80 columns.
std::string formatNvctypes(const std::vector<NvcRecord>& records);

/// HELP.txt from the hand-written `text`, whose pages are separated by lines
/// reading "%page", followed by pages listing every species whose key is not
/// its natural key: per shared natural key, a line of the key, the special
/// key and the name of its first species, then a line of the special key
/// and the name for each other one (columns 5-13, 16-24 and from 27). Every page but the last is
/// padded to 23 lines, and the last holds fewer, so that no empty page follows it. Throws
/// std::runtime_error for a page of more than 23 lines or a line of more
/// than 60 characters.
std::string formatHelp(const std::string& text, const ReferenceData& data);

/// `text` when it is one line ending in LF (the reference data's version,
/// VERSION.txt); throws std::runtime_error otherwise.
std::string versionLine(const std::string& text);

/// Converts the sources in `source_dir` (the seven CSV files with their
/// mends, the four attribute tables, help_text.txt and version.txt) and
/// writes into `output_dir` the four files, NAMES.txt, the CSV files of
/// tools/csvfiles.h and VERSION.txt, a copy of version.txt. Nothing is
/// written when a source cannot be read or converted.
void buildAll(const std::string& source_dir, const std::string& output_dir);

}  // namespace nvcdata
