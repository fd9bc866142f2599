// Lengths are in em where a page expects them to grow with the text, so that the defaults suit
// every screen density (the default font follows the density; a CSS pixel is a device pixel).
#include "master_style.h"

namespace kv::html {

const char kMasterStyle[] = R"css(
html { display: block; }
head, base, link, meta, script, style, title, template, noscript, param, datalist { display: none; }
body { display: block; margin: 0.5em; }

address, article, aside, blockquote, center, dd, details, dialog, dir, div, dl, dt, fieldset, figcaption,
figure, footer, form, h1, h2, h3, h4, h5, h6, header, hgroup, hr, legend, main, menu, nav, ol, p, pre,
section, summary, ul { display: block; }
li { display: list-item; }

p, blockquote, dl, figure, pre { margin-top: 1em; margin-bottom: 1em; }
blockquote, figure { margin-left: 3em; margin-right: 3em; }
dd { margin-left: 3em; }
h1 { font-size: 2em; margin-top: 0.67em; margin-bottom: 0.67em; font-weight: bold; }
h2 { font-size: 1.5em; margin-top: 0.83em; margin-bottom: 0.83em; font-weight: bold; }
h3 { font-size: 1.17em; margin-top: 1em; margin-bottom: 1em; font-weight: bold; }
h4 { margin-top: 1.33em; margin-bottom: 1.33em; font-weight: bold; }
h5 { font-size: 0.83em; margin-top: 1.67em; margin-bottom: 1.67em; font-weight: bold; }
h6 { font-size: 0.67em; margin-top: 2.33em; margin-bottom: 2.33em; font-weight: bold; }

ul, ol, menu, dir { margin-top: 1em; margin-bottom: 1em; padding-left: 2.5em; }
ul, menu, dir { list-style-type: disc; }
ol { list-style-type: decimal; }
ul ul, ol ul, ul menu, ol menu { list-style-type: circle; }
ul ul ul, ul ol ul, ol ul ul, ol ol ul { list-style-type: square; }
ul ul, ul ol, ol ul, ol ol { margin-top: 0; margin-bottom: 0; }

table { display: table; border-collapse: separate; border-spacing: 2px; }
caption { display: table-caption; text-align: center; }
thead { display: table-header-group; vertical-align: middle; }
tbody { display: table-row-group; vertical-align: middle; }
tfoot { display: table-footer-group; vertical-align: middle; }
colgroup { display: table-column-group; }
col { display: table-column; }
tr { display: table-row; vertical-align: inherit; }
td, th { display: table-cell; vertical-align: inherit; padding: 1px; }
th { font-weight: bold; text-align: center; }
table[border] { border-style: outset; border-color: #808080; }
table[border] td, table[border] th { border-width: 1px; border-style: inset; border-color: #808080; }
table[border="0"] td, table[border="0"] th { border-style: none; }

hr { height: 0; margin: 0.5em 0; border-style: inset; border-width: 1px; border-color: #a0a0a0; }
br { display: block; }
img { display: inline-block; }
input, select, textarea, button { display: inline-block; vertical-align: middle; margin: 1px; }

b, strong { font-weight: bold; }
i, em, cite, var, dfn, address { font-style: italic; }
u, ins { text-decoration: underline; }
s, strike, del { text-decoration: line-through; }
big { font-size: 1.17em; }
small { font-size: 0.83em; }
sub { vertical-align: sub; font-size: 0.83em; }
sup { vertical-align: super; font-size: 0.83em; }
pre, tt, code, kbd, samp { font-family: monospace; }
pre { white-space: pre; }
center { text-align: center; }
nobr { white-space: nowrap; }
a[href] { color: #0000ee; text-decoration: underline; }
)css";

}  // namespace kv::html
