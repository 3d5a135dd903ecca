#pragma once

#include <cstdint>

class Database;

// How large a generated catalogue is. The defaults are the size that the
// performance figures are quoted for; tests pass small counts.
struct GenerateOptions
{
    int cassettes = 10000;
    int recordings = 100000;
    int types = 30;
    int genres = 40;
    int qualities = 8;
    int performers = 2000;
    std::uint32_t seed = 20240611u;
};

// Fills an open store whose catalogue tables are empty with a made-up but
// plausible collection, in one transaction. The same options always give the
// same rows, on every machine. Throws DbError when the store already holds
// cassettes, recordings or master data.
//
// What the rows keep, so that checks can rely on it:
// - vk is 1..cassettes and azonosito its five-digit text;
// - the recordings of a cassette are tracks 1..n, each starting where the
//   previous one ended on the counter, with hossz = minutes between the
//   positions plus one;
// - szabad = hossz minus the sum of the cassette's recording lengths;
// - kolcsonadva "I" comes with kinek and dat_kolcs, "N" and null without.
void GenerateCatalogue(Database& db, const GenerateOptions& options = {});
