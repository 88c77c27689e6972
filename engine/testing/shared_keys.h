// Test data shared by the builder's checks of the shipped files and
// vegmatch's name menu over them: the species whose natural keys coincide.
#pragma once

#include <string>
#include <vector>

namespace engine::testing {

// The fourteen pairs of species whose natural keys coincide, with the keys
// that the rule gives them, worked out by hand: the epithet's first letter
// and its last three letters; for the same epithet in two genera its first
// three letters and the letter where the genera part; for a genus alone the
// fifth to eighth letters of the genus.
inline const std::vector<std::vector<std::string>> kSharedKeyPairs = {
    {"care acut", "Carex acuta", "care auta", "Carex acutiformis", "care amis"},
    {"care dist", "Carex distans", "care dans", "Carex disticha", "care dcha"},
    {"care pani", "Carex panicea", "care pcea", "Carex paniculata", "care pata"},
    {"clad     ", "Cladonia", "clad onia", "Cladophora", "clad opho"},
    {"clad rang", "Cladonia rangiferina", "clad rina", "Cladonia rangiformis", "clad rmis"},
    {"junc acut", "Juncus acutiflorus", "junc arus", "Juncus acutus", "junc atus"},
    {"plag undu", "Plagiomnium undulatum", "plag undm", "Plagiothecium undulatum", "plag undt"},
    {"poly vulg", "Polygala vulgaris", "poly vris", "Polypodium vulgare", "poly vare"},
    {"rese lute", "Reseda lutea", "rese ltea", "Reseda luteola", "rese lola"},
    {"rhod rose", "Rhodiola rosea", "rhod rsea", "Rhodobryum roseum", "rhod reum"},
    {"rume acet", "Rumex acetosa", "rume aosa", "Rumex acetosella", "rume alla"},
    {"sagi sagi", "Sagina saginoides", "sagi sdes", "Sagittaria sagittifolia", "sagi slia"},
    {"sali myrs", "Salix myrsinifolia", "sali mlia", "Salix myrsinites", "sali mtes"},
    {"synt rura", "Syntrichia ruraliformis", "synt rmis", "Syntrichia ruralis", "synt rlis"},
};

}  // namespace engine::testing
