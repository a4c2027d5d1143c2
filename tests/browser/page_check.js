// Injected at the end of a copy of an exported page by the browser check. When the page has
// loaded it clicks what a reader would click and writes what it saw into <pre id="kivdb-check">,
// one "name=value" line each, which the test reads from Chromium's --dump-dom. The errors come
// from a listener put at the start of the page's head (window.kivdbErrors).
window.addEventListener("load", function () {
  "use strict";
  var lines = [];
  function say(name, value) {
    lines.push(name + "=" + String(value).replace(/\n/g, " "));
  }
  function display(element) {
    return element ? getComputedStyle(element).display : "missing";
  }
  function chapterParts() {
    return Array.prototype.filter.call(document.querySelectorAll("[id]"), function (e) {
      var match = /^\d\d(?:ROW|SHP)(\d\d)/.exec(e.id);
      return !!match && match[1] !== "01";
    });
  }
  function hiddenCount(parts) {
    return parts.filter(function (e) { return display(e) === "none"; }).length;
  }

  say("title", document.title);
  say("links", document.querySelectorAll("a[target=page]").length);
  var frame = document.querySelector("iframe");
  say("frame", frame ? frame.getAttribute("src") : "");

  var icon = document.querySelector("img[id^=CTL]");
  say("chart", icon ? icon.id : "");
  if (icon) {
    var number = icon.id.slice(3);
    var chart = document.getElementById("CGR" + number);
    say("chartBefore", display(chart));
    icon.click();
    say("chartAfterIcon", display(chart));
    var caption = document.getElementById("CTLCAP" + number);
    if (caption) caption.click();
    say("chartAfterCaption", display(chart));
  }

  var plus = document.querySelector("img[id^=DTL]");
  say("plus", plus ? plus.id : "");
  if (plus) {
    var suffix = plus.id.slice(3);
    var box = document.getElementById("01SHP" + suffix);
    var row = document.getElementById("01ROW" + suffix);
    say("boxBefore", display(box));
    say("rowBefore", display(row));
    plus.click();
    say("boxAfter", display(box));
    say("rowAfter", display(row));
  }

  var all = document.getElementById("DISPALL");
  say("displayAll", all ? "yes" : "");
  if (all) {
    var parts = chapterParts();
    say("chapters", parts.length);
    say("hiddenBefore", hiddenCount(parts));
    all.click();
    say("hiddenAfter", hiddenCount(parts));
    say("displayAllLabel", all.textContent);
  }

  var broken = Array.prototype.filter.call(document.images, function (image) {
    return !image.complete || image.naturalWidth === 0;
  }).map(function (image) { return image.getAttribute("src"); });
  say("images", document.images.length);
  say("broken", broken.join(" "));
  say("errors", (window.kivdbErrors || ["the error listener is missing"]).join(" | "));

  var out = document.createElement("pre");
  out.id = "kivdb-check";
  out.textContent = "\n" + lines.join("\n") + "\n";
  document.body.appendChild(out);
});
