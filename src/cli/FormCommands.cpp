// template application, form fill application: blank and filled forms from the form
// writer. Neither touches the home folder.
#include "cli/Session.h"
#include "core/forms/ApplicationForm.h"
#include "core/forms/SampleApplications.h"

namespace xinghe::cli {

void addFormCommands(CLI::App& app, Session& s) {
    auto* tmpl = app.add_subcommand("template", "Write a blank form");
    tmpl->require_subcommand(1);
    auto* blank = tmpl->add_subcommand("application", "Write the blank application form (.docx)");
    auto blankOut = std::make_shared<std::string>();
    blank->add_option("OUT", *blankOut, "The file to write, e.g. application.docx")->required();
    s.on(blank, [&s, blankOut] {
        forms::writeBlankApplicationForm(*blankOut);
        s.out << "wrote " << *blankOut << '\n';
        return kExitOk;
    });

    auto* form = app.add_subcommand("form", "Work on forms");
    form->require_subcommand(1);
    auto* fill = form->add_subcommand("fill", "Write a filled form from a JSON data file");
    fill->require_subcommand(1);
    auto* filled = fill->add_subcommand(
        "application",
        R"(Write an application form filled with DATA.json: {"status": "1", "bookmarks": )"
        R"({"ffd_appyear": "2026", ...}, "cells": {"2,20,1": "张三", ...}})");
    auto data = std::make_shared<std::string>();
    auto filledOut = std::make_shared<std::string>();
    filled->add_option("DATA", *data, "The form data (JSON)")->required();
    filled->add_option("OUT", *filledOut, "The file to write, e.g. form.docx")->required();
    s.on(filled, [&s, data, filledOut] {
        forms::writeApplicationForm(forms::loadFormData(*data), *filledOut);
        s.out << "wrote " << *filledOut << '\n';
        return kExitOk;
    });

    // A folder of filled, locked application forms, for trying the import out.
    auto* samples =
        form->add_subcommand("samples", "Write a folder of filled sample application forms");
    struct SampleOptions {
        std::string folder;
        int count = 20;
        std::string year = "2026";
        std::string university;
    };
    auto opt = std::make_shared<SampleOptions>();
    samples->add_option("FOLDER", opt->folder, "The folder to write into")->required();
    samples->add_option("--count", opt->count, "How many forms")->check(CLI::Range(1, 100000));
    samples->add_option("--year", opt->year, "The application year written into the forms");
    samples
        ->add_option("--university", opt->university,
                     "The unit named in the forms (must equal the registered unit name)")
        ->required();
    s.on(samples, [&s, opt] {
        auto files =
            forms::writeSampleApplications(opt->folder, opt->count, opt->year, opt->university);
        s.out << "wrote " << files.size() << " forms into " << opt->folder << '\n';
        return kExitOk;
    });
}

}  // namespace xinghe::cli
