#include "wizard/kivwz_commands.h"

#include <kivdb/version.h>
#include <CLI/CLI.hpp>
#include <new>
#include <string>

#include "wizard/model/analysis.h"
#include "wizard/model/nav_schemes.h"
#include "wizard/model/scheme_file.h"

namespace kivwz {
namespace {

constexpr int kDone = 0;
constexpr int kFindings = 1;
constexpr int kFailed = 2;

// Loads the files a command names; reports the first that cannot be read or is no scheme file.
class Loader {
 public:
  Loader(clsNavSchemes& navs, std::ostream& err) : navs_(navs), err_(err) {}

  bool Nav(const std::string& path) {
    if (!Read(path, "navigation")) return false;
    navs_.LoadText(content_);
    return true;
  }
  bool Web(const std::string& path) {
    if (!Read(path, "web")) return false;
    navs_.oWebs.LoadText(content_);
    return true;
  }

 private:
  bool Read(const std::string& path, const char* kind) {
    std::string why;
    if (!ReadWholeFile(path, content_, &why)) {
      err_ << "KivWZ: Unable to open file " << path << ": " << why << "\n";
      return false;
    }
    // An empty or binary file reads as a scheme with nothing wrong in it; it is no scheme.
    if (!LooksLikeSchemeText(content_)) {
      err_ << "KivWZ: " << path << " is not a " << kind << " scheme file\n";
      return false;
    }
    return true;
  }
  clsNavSchemes& navs_;
  std::ostream& err_;
  std::string content_;
};

int Renumber(const std::string& navFile, const std::string& webFile, const std::string& outNav,
             const std::string& outWeb, std::ostream& err) {
  clsNavSchemes navs;
  Loader load(navs, err);
  if (!load.Nav(navFile) || !load.Web(webFile)) return kFailed;
  if (!navs.Renumber()) {
    err << "KivWZ: the navigation scheme in " << navFile << " has no node to renumber\n";
    return kFailed;
  }
  std::string navText, webText, why;
  if (!navs.FileText(navText)) {
    err << "KivWZ: nothing changed: the navigation scheme has no root node to write to " << outNav
        << "\n";
    return kFailed;
  }
  if (!navs.oWebs.FileText(webText)) {
    err << "KivWZ: nothing changed: the web display scheme has no paragraph to write to " << outWeb
        << "\n";
    return kFailed;
  }
  // The paragraphs name nodes by number: one file renumbered without the other breaks the pair.
  if (!ReplaceBothFiles(outNav, navText, outWeb, webText, why)) {
    err << "KivWZ: nothing changed: " << why << "\n";
    return kFailed;
  }
  if (const Long outside = navs.NodesOutsideTree(); outside > 0) {
    err << "KivWZ: warning: " << outside << (outside == 1 ? " node is" : " nodes are")
        << " not below the root (a second root, a cycle or a missing parent) and left out of "
        << outNav << "\n";
  }
  return kDone;
}

}  // namespace

int RunKivWZ(int argc, char** argv, std::ostream& out, std::ostream& err) {
  CLI::App app{"KivWZ, the scheme wizard. Commands work on scheme text files without a window.",
               "KivWZ"};
  std::string nav, web, outNav, outWeb;

  auto* checkNav = app.add_subcommand("check-nav", "Analyse a navigation scheme file");
  checkNav->add_option("NAV", nav, "navigation scheme file (XST1.txt)")->required();
  auto* navToDo = app.add_subcommand("nav-todo", "To-do list of a navigation scheme file");
  navToDo->add_option("NAV", nav, "navigation scheme file (XST1.txt)")->required();
  auto* checkWeb = app.add_subcommand("check-web", "Analyse a web display scheme file");
  checkWeb->add_option("NAV", nav, "navigation scheme file (XST1.txt)")->required();
  checkWeb->add_option("WEB", web, "web display scheme file (XST2.txt)")->required();
  auto* webToDo = app.add_subcommand("web-todo", "To-do list of a web display scheme file");
  webToDo->add_option("WEB", web, "web display scheme file (XST2.txt)")->required();
  auto* renumber = app.add_subcommand("renumber", "Renumber both schemes and save them");
  renumber->add_option("NAV", nav, "navigation scheme file (XST1.txt)")->required();
  renumber->add_option("WEB", web, "web display scheme file (XST2.txt)")->required();
  renumber->add_option("OUTNAV", outNav, "renumbered navigation scheme file")->required();
  renumber->add_option("OUTWEB", outWeb, "renumbered web display scheme file")->required();
  auto* check = app.add_subcommand(
      "check", "Both analyses; exit status 1 when either finds an observation or an orphan");
  check->add_option("NAV", nav, "navigation scheme file (XST1.txt)")->required();
  check->add_option("WEB", web, "web display scheme file (XST2.txt)")->required();
  app.require_subcommand(0, 1);
  app.set_version_flag("--version", std::string("KivWZ ") + kivdb::LibraryVersion(),
                       "print the version of the KivDB library and exit");

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e, out, err) == 0 ? kDone : kFailed;
  }

  auto run = [&]() -> int {
    if (*renumber) return Renumber(nav, web, outNav, outWeb, err);

    clsNavSchemes navs;
    Loader load(navs, err);
    int status = kDone;
    if (*checkNav) {
      if (!load.Nav(nav)) return kFailed;
      out << navs.CheckNav();
    } else if (*navToDo) {
      if (!load.Nav(nav)) return kFailed;
      out << navs.NavToDo();
    } else if (*checkWeb) {
      if (!load.Nav(nav) || !load.Web(web)) return kFailed;
      out << navs.oWebs.CheckScheme(navs);
    } else if (*webToDo) {
      if (!load.Web(web)) return kFailed;
      out << navs.oWebs.WebToDo();
    } else if (*check) {
      if (!load.Nav(nav) || !load.Web(web)) return kFailed;
      const Analysis navAnalysis = AnalyseNav(navs);
      const Analysis webAnalysis = AnalyseWeb(navs.oWebs, navs);
      out << navAnalysis.text << webAnalysis.text;
      const bool clean = navAnalysis.observations == 0 && webAnalysis.observations == 0 &&
                         webAnalysis.orphans == 0;
      status = clean ? kDone : kFindings;
    } else {
      // No command: the window comes with the desktop wizard; until then, say how to use it.
      out << app.help();
    }
    if (!out.flush()) {
      err << "KivWZ: cannot write to standard output\n";
      return kFailed;
    }
    return status;
  };
  try {
    return run();
  } catch (const std::bad_alloc&) {
    // A scheme file far larger than memory allows: say so rather than abort.
    err << "KivWZ: out of memory reading the scheme files\n";
    return kFailed;
  }
}

}  // namespace kivwz
