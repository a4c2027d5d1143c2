// Put at the end of a copy of an exported page by the injection check. Once the page has loaded
// it writes what it found into <pre id="kivdb-check">, one "name=value" line each, values
// URI-encoded; the test reads them from Chromium's --dump-dom.
window.addEventListener("load", function () {
  "use strict";
  var lines = [];
  function say(name, value) {
    lines.push(name + "=" + encodeURIComponent(String(value)));
  }
  // The elements the renderers and the page template write; anything else came from the data.
  var written = ["HTML", "HEAD", "TITLE", "META", "STYLE", "BODY", "DIV", "P", "TABLE", "TBODY",
                 "TR", "TD", "TH", "IMG", "A", "BR", "HR", "NAV", "H1", "UL", "LI", "DETAILS",
                 "SUMMARY", "SPAN", "IFRAME", "SCRIPT", "PRE"];
  var foreign = [];
  var handlers = 0;
  var scripts = 0;
  var badLinks = [];
  Array.prototype.forEach.call(document.getElementsByTagName("*"), function (e) {
    if (written.indexOf(e.tagName) < 0) foreign.push(e.tagName);
    if (e.tagName === "SCRIPT" && !/^kivdb-/.test(e.id)) ++scripts;
    Array.prototype.forEach.call(e.attributes, function (a) {
      if (/^on/i.test(a.name)) ++handlers;
    });
    ["href", "src", "action", "formaction"].forEach(function (name) {
      var value = e.getAttribute(name);
      if (value === null) return;
      var protocol;
      try {
        protocol = new URL(value, document.baseURI).protocol;
      } catch (error) {
        return;  // not an address at all: nothing can follow it
      }
      if (protocol === "javascript:" || protocol === "vbscript:" ||
          (protocol === "data:" && e.tagName !== "IMG")) {
        badLinks.push(e.tagName + " " + name + " " + value.slice(0, 60));
      }
    });
  });
  // Rows and cells of each report table, its own rows only (thumbnail cells nest tables).
  var tables = [];
  Array.prototype.forEach.call(document.querySelectorAll("table[id^=TBL], table[id^=CGR]"),
    function (t) {
      var cells = 0;
      Array.prototype.forEach.call(t.rows, function (r) { cells += r.cells.length; });
      tables.push(t.id.slice(0, 3) + ":" + t.rows.length + ":" + cells);
    });
  var numbers = Array.prototype.map.call(
    document.querySelectorAll("table[id^=TBL] td.tdr"), function (td) {
      return td.textContent.trim();
    });

  say("hits", window.kivdbHits ? window.kivdbHits.join(" ") : "the sentinel is missing");
  say("scriptErrors", (window.kivdbScriptErrors || []).join(" | "));
  say("foreign", foreign.join(" "));
  say("handlers", handlers);
  say("scripts", scripts);
  say("badLinks", badLinks.join(" | "));
  say("tables", tables.join(" "));
  say("numbers", numbers.join(" "));
  say("title", document.title);
  say("links", document.querySelectorAll("a[href]").length);

  var out = document.createElement("pre");
  out.id = "kivdb-check";
  out.textContent = "\n" + lines.join("\n") + "\n";
  document.body.appendChild(out);
});
