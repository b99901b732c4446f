// The gazetteer: places by name (GeoNames' places with more than 1,000
// people, tools/gen_places.py), searched only when a name is asked for.
// Names match in English or Japanese ("Sapporo", "sapporo", "札幌",
// "さっぽろ"), ASCII letters in any case; "Name, qualifier" narrows by the
// first-order division ("Portland, Oregon"), its code ("Portland, US-OR"),
// the country's code or name ("Portland, US", "Portland, Australia").
#pragma once
#include <string>
#include <vector>

struct Place {
    std::string name;        // GeoNames' name (UTF-8)
    std::string ascii;       // the name in ASCII
    std::string japanese;    // the first Japanese alternate name ("札幌"), or empty
    double latitude;         // degrees, north positive
    double longitude;        // degrees, east positive
    std::string zone;        // IANA zone ("Asia/Tokyo")
    long population;
    std::string country;     // ISO 3166-1 alpha-2 ("JP")
    std::string admin1;      // first-order division's code within the country ("12")
    std::string region;      // its name ("Hokkaido"), or empty
};

// The gazetteer's file: $TENMADO_PLACES when set, else the installed one,
// else the source tree's (a build run in place).
std::string Places_Path();

enum class PlaceResult {
    Found,      // one place (the only match, or the most populous by far)
    Ambiguous,  // several, none ten times as populous as the next
    Unknown,    // no place of that name
    NoData,     // the gazetteer cannot be read
};
struct PlaceSearch {
    PlaceResult result;
    std::vector<Place> matches;  // most populous first; the place itself for Found
    std::string why;             // NoData: the reason
};

// Every place matching text (exact names; without any, names that begin
// with it as whole words: "New York" finds "New York City"), most populous
// first, at most max.
PlaceSearch Places_Search(const std::string& text, size_t max = 1000);
// The places whose names begin with text (completion), most populous
// first, at most max.
PlaceSearch Places_Complete(const std::string& text, size_t max = 20);
// One place for text, the rule of --place: the only match, or the most
// populous when it has ten times the people of the next.
PlaceSearch Places_Find(const std::string& text);

// The English name of a country of ISO 3166-1 (Debian's iso-codes), or
// the code when the file is missing; its name in the locale's language
// (Japanese under ja_JP) when translated is true.
std::string Places_CountryName(const std::string& code, bool translated = false);
// "Sapporo, Hokkaido, Japan (43.0667 N, 141.3500 E, Asia/Tokyo, 1883027 people)"
std::string Places_Describe(const Place& p);
