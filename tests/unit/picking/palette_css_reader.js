// Parses a palette stylesheet with css-tree and prints its custom properties
// as JSON [[name, value], ...]. Fails on a parse error, on anything but one
// ":root" rule closed by "}", and on a value that is not a <color>.
//   NODE_PATH=<folder holding css-tree> node palette_css_reader.js FILE
'use strict';
const fs = require('fs');
const csstree = require('css-tree');

const file = process.argv[2];
const source = fs.readFileSync(file, 'utf8');
const errors = [];
const ast = csstree.parse(source, {positions: true, onParseError: (e) => errors.push(e.formattedMessage || e.message)});
const problem = (text) => {
    console.log(text);
    process.exit(1);
};
if (errors.length) problem('parse errors:\n' + errors.join('\n'));
const rules = ast.children.toArray();
if (rules.length !== 1 || rules[0].type !== 'Rule') problem('expected one rule, got ' + rules.map((r) => r.type));
const rule = rules[0];
if (csstree.generate(rule.prelude) !== ':root') problem('selector ' + csstree.generate(rule.prelude));
if (source[rule.block.loc.end.offset - 1] !== '}') problem('the block is not closed');
const declarations = [];
for (const d of rule.block.children.toArray()) {
    if (d.type !== 'Declaration' || !d.property.startsWith('--')) problem('not a custom property: ' + csstree.generate(d));
    const raw = d.value.type === 'Raw' ? d.value.value.trim() : csstree.generate(d.value);
    const match = csstree.lexer.matchProperty('color', csstree.parse(raw, {context: 'value'}));
    if (match.error) problem(`${d.property}: ${raw} is no <color>: ${match.error.message}`);
    declarations.push([d.property, raw]);
}
console.log(JSON.stringify(declarations));
