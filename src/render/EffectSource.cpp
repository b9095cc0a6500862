#include "render/EffectSource.h"

#include <sstream>

namespace {

std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

bool ParseEffectSource(const std::string& text, EffectSource& source, std::string& error)
{
    source = EffectSource{};
    std::string* section = nullptr;
    std::istringstream lines(text);
    std::string line;
    int lineNumber = 0;
    const auto fail = [&](const std::string& reason) {
        error = "line " + std::to_string(lineNumber) + ": " + reason;
        return false;
    };

    while (std::getline(lines, line)) {
        ++lineNumber;
        if (line.empty() || line[0] != '@') {
            if (section) {
                *section += line + "\n";
            } else if (!Trimmed(line).empty() && Trimmed(line).rfind("//", 0) != 0) {
                return fail("text before the first section");
            }
            continue;
        }
        std::istringstream words(line.substr(1));
        std::string directive, argument, extra;
        words >> directive >> argument;
        if (directive == "variants") {
            if (argument.empty() || !source.variantParameter.empty())
                return fail("@variants takes one parameter name, once");
            source.variantParameter = argument;
            for (int value = 0; words >> value;)
                source.variantValues.push_back(value);
            if (source.variantValues.empty() || !words.eof())
                return fail("@variants needs whole-number values");
            continue;
        }
        words >> extra;
        if (!extra.empty())
            return fail("unexpected '" + extra + "'");
        TechniqueSource* technique = source.techniques.empty() ? nullptr : &source.techniques.back();

        if (directive == "common") {
            if (argument.empty())
                section = &source.commonBoth;
            else if (argument == "vertex")
                section = &source.commonVertex;
            else if (argument == "fragment")
                section = &source.commonFragment;
            else
                return fail("@common takes vertex, fragment or nothing");
        } else if (directive == "technique") {
            if (argument.empty())
                return fail("@technique needs a name");
            for (const TechniqueSource& other : source.techniques) {
                if (other.name == argument)
                    return fail("technique " + argument + " appears twice");
            }
            source.techniques.push_back({argument, "", "", DepthUse::TestAndWrite, false});
            section = nullptr;
        } else if (directive == "vertex" || directive == "fragment" || directive == "depth" || directive == "cull") {
            if (!technique)
                return fail("@" + directive + " outside a technique");
            if (directive == "depth") {
                if (argument == "off")
                    technique->depth = DepthUse::Off;
                else if (argument == "test")
                    technique->depth = DepthUse::TestOnly;
                else
                    return fail("@depth takes off or test");
            } else if (directive == "cull") {
                if (argument != "back")
                    return fail("@cull takes back");
                technique->cullBack = true;
            } else {
                section = directive == "vertex" ? &technique->vertex : &technique->fragment;
            }
        } else {
            return fail("unknown directive @" + directive);
        }
        // Compiler messages then name the effect file's own line numbers.
        if (section)
            *section += "#line " + std::to_string(lineNumber + 1) + "\n";
    }
    for (const TechniqueSource& technique : source.techniques) {
        if (technique.vertex.empty() || technique.fragment.empty()) {
            error = "technique " + technique.name + " needs both a vertex and a fragment stage";
            return false;
        }
    }
    return true;
}
