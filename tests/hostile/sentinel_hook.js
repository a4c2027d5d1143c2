// Put first in the head of a copy of an exported page by the injection check: the hostile data
// call kivdbhit() from every script they try to smuggle in, so any call is a script that ran.
window.kivdbHits = [];
window.kivdbhit = function (what) {
  window.kivdbHits.push(String(what));
};
window.kivdbScriptErrors = [];
window.addEventListener("error", function (event) {
  // Pictures with hostile addresses fail to load; only script errors count here.
  if (event instanceof ErrorEvent) window.kivdbScriptErrors.push(event.message);
}, true);
