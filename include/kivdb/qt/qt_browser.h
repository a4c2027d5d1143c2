#pragma once
// QtBrowser: the control's Browser over a QWebEngineView the host owns. Every navigation passes
// BeforeNavigate2 first, with its address decoded (a link "^000030000000042" arrives with its
// "^", not as "%5E"): those asked for with Navigate before the load starts, links clicked in a
// page and any other navigation of the page from QWebEnginePage::acceptNavigationRequest. A
// cancelled navigation does not happen. Navigate takes a local file path or "about:blank", so
// pictures a page names relative to its folder load.
//
// ExecWB asks the user where to save (QFileDialog) or how to print (QPrintDialog); hosts and tests
// may replace both prompts. It waits for the engine to finish the command and throws
// kivdb::Error: 5 when no page is shown, the prompt was cancelled or the command is unknown, 75
// when the engine fails to write. The adapter installs its own page in the view and must not
// outlive the view.

#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <kivdb/browser.h>
#include <kivdb/qt/export.h>

class QPrinter;
class QWebEngineView;

namespace kivdb::qt {

class KIVDB_QT_EXPORT QtBrowser : public Browser {
 public:
  // The save prompt: the chosen path, or an empty text when the user cancels.
  using SavePrompt = std::function<QString(const QString& suggestedPath)>;
  // The print prompt: false when the user cancels; otherwise `printer` is set up.
  using PrintPrompt = std::function<bool(QPrinter& printer)>;

  explicit QtBrowser(QWebEngineView& view);
  ~QtBrowser() override;
  QtBrowser(const QtBrowser&) = delete;
  QtBrowser& operator=(const QtBrowser&) = delete;

  void Navigate(const std::string& address) override;
  // Save as (4) writes the page with its pictures; print (6) prints it. Both wait for the engine.
  void ExecWB(int command, int option) override;
  void SetBeforeNavigateHandler(BeforeNavigateHandler handler) override;

  // --- The host's side -------------------------------------------------------------------------
  QWebEngineView& View() const;
  void SetSavePrompt(SavePrompt prompt);
  void SetPrintPrompt(PrintPrompt prompt);
  // Writes the shown page as a PDF file and waits for it; false when no page is shown or the
  // engine fails.
  bool PrintToPdf(const QString& path);
  // Waits until the page being loaded has finished (at most `timeoutMs`); the result of that
  // load, or of the last one when none is under way.
  bool WaitForLoad(int timeoutMs = 30000);

  // Every navigation that happened, in order: local files as their paths, others as URLs.
  const std::vector<std::string>& History() const;
  // The address shown now; empty before the first navigation.
  const std::string& Current() const;

 private:
  struct KIVDB_QT_NO_EXPORT Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace kivdb::qt
