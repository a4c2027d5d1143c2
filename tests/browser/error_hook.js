window.kivdbErrors = [];
window.addEventListener("error", function (event) {
  var where = event.filename || (event.target && (event.target.src || event.target.href)) || "";
  window.kivdbErrors.push((event.message || "failed to load") + " " + where);
}, true);
