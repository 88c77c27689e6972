// NAMES.txt: the table of full names beside the reference files, for
// programs that match the Latin names of a species list (not VEGMATCH, which
// knows only the keys of SPECDICT.txt).
//
// One record per name and species, LF line ends:
//   columns 1-4   species number, as in SPECDICT.txt and ASSOCTAB.txt
//   column  5     "*" on the record of the species' own name (the
//                 binomial of its taxa, in its matching form), else blank
//   columns 6-14  the species' dictionary key, as in SPECDICT.txt
//   column  15    blank
//   columns 16-   the name, in ASCII, without its stratum suffix
// The names are the project's own: the species names, the taxon names of the
// floristic tables, the original names of name_lookup.csv and the synonyms of
// synonyms.csv; and the synonyms of the UK Species Inventory
// (uksi_synonyms.csv). Names are matched in their matching form (matchForm);
// the records are in byte order of the forms, the records of one form in
// ascending species number. For each form:
//   - where the project's own names of that form that stand for one species
//     all stand for the same species, the form is that species': one record,
//     with the first of those names in byte order. UKSI names of the form do
//     not count (the project's keying wins);
//   - otherwise the form stands for every species that any of its names
//     gives, own or UKSI, under the first of its names in byte order: one
//     record if that is one species, and if it is two or more, one record
//     for each, all with the same name. Such a form is ambiguous: a reader
//     that finds one form under two or more numbers must not take any of
//     them, but may offer them all as the candidates.
// A UKSI name that also stands for a taxon the tables lack (a row of its
// form with also_means) is not in the table: keying it to the project's
// taxon would be a choice to make knowingly, and it is left unmatched. Nor is
// a UKSI name that cannot be written in ASCII (the Greek letters of old rank
// marks, "Cetraria aculeata β hiascens"); the accented Latin letters become
// plain ones ("Räsänen" "Rasanen", "æ" "ae").
#pragma once

#include <string>

#include "tools/nvcdata.h"

namespace nvcdata {

/// The form in which two names are compared: ASCII, lower case, words
/// separated by one blank, without a stratum suffix "(c)", "(s)" or "(g)" and
/// without the qualifiers "agg.", "s.l.", "s.lat.", "s. lat.", "sens. lat.",
/// "sensu lato", "s.str.", "sens. str." and "sensu stricto".
/// "Polypodium  vulgare sens. lat." and "polypodium vulgare" match.
std::string matchForm(const std::string& name);

/// NAMES.txt from the full names of `data`, in the layout above.
std::string formatNames(const ReferenceData& data);

}  // namespace nvcdata
