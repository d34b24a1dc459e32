// Tokenizes two small sources with the grammar as VS Code does (vscode-textmate
// on the Oniguruma engine) and checks the scope each field gets; checks the
// problem matchers' patterns on the forms `scenario check` prints.
'use strict';
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const oniguruma = require('vscode-oniguruma');
const textmate = require('vscode-textmate');

const root = path.join(__dirname, '..');
const manifest = JSON.parse(fs.readFileSync(path.join(root, 'package.json'), 'utf8'));
const grammarPath = path.join(root, manifest.contributes.grammars[0].path);
// VS Code reads the language configuration too: it must parse.
JSON.parse(fs.readFileSync(path.join(root, manifest.contributes.languages[0].configuration), 'utf8'));

const LINE_SOURCE = [
  'Borgo Lago - Pontenero, stazioni a 4000, 6000',
  '[generale]',
  'lunghezza percorso,    12000',
  'progressiva chilometrica uno,    0,    100000,    0',
  'Progressiva chilometrica due,    0,    0,    0',
  'sfondo Uno,    1',
  '-- nota, velocita ridotta',
  '[curve]',
  'curvad4,  1000,  400',
  'pendenza,  6000,   -3, -- discesa',
  'cartello_indicatore,  2950,   "(PONTE SU, )(RIO)"',
  'orologio,    8              15            0',
  'stazione,    6000, 21,  300,  0, 0, 0,  1,1,0,  4,1,1,   30,   8,27, 0, LE FORNACI-ROVERE',
  'segnlae,   20500,   1',
  '[fine]',
];

// Begins at its heading: nothing is skipped.
const TRAIN_SOURCE = [
  '[generale]',
  'numero vetture,    3',
  '[fine]',
];

// [source, line, the field's text, the scope it must have, or null: no keyword, comment or string]
const CASES = [
  [LINE_SOURCE, 0, 'Borgo Lago', 'comment.block.preamble'],
  [LINE_SOURCE, 0, '4000', 'comment.block.preamble'],
  [LINE_SOURCE, 1, 'generale', 'entity.name.section'],
  [LINE_SOURCE, 2, 'lunghezza percorso', 'keyword.other.record'],
  [LINE_SOURCE, 2, '12000', 'constant.numeric'],
  [LINE_SOURCE, 3, 'progressiva chilometrica uno', 'keyword.other.record'],
  [LINE_SOURCE, 3, '100000', 'constant.numeric'],
  [LINE_SOURCE, 4, 'Progressiva chilometrica due', null],
  [LINE_SOURCE, 5, 'sfondo Uno', null],
  [LINE_SOURCE, 6, '-- nota', 'comment.line'],
  [LINE_SOURCE, 6, 'velocita ridotta', 'keyword.other.record'],
  [LINE_SOURCE, 7, 'curve', 'entity.name.section'],
  [LINE_SOURCE, 8, 'curvad4', 'keyword.other.record'],
  [LINE_SOURCE, 9, '-3', 'constant.numeric'],
  [LINE_SOURCE, 9, '-- discesa', 'comment.line'],
  [LINE_SOURCE, 10, 'cartello_indicatore', 'keyword.other.record'],
  [LINE_SOURCE, 10, '"(PONTE SU, )(RIO)"', 'string.quoted.double'],
  [LINE_SOURCE, 11, '15', 'constant.numeric'],
  [LINE_SOURCE, 12, '21', 'constant.numeric'],
  [LINE_SOURCE, 12, 'LE FORNACI-ROVERE', 'string.unquoted'],
  [LINE_SOURCE, 13, 'segnlae', null],
  [LINE_SOURCE, 13, '20500', 'constant.numeric'],
  [LINE_SOURCE, 14, 'fine', 'entity.name.section'],
  [TRAIN_SOURCE, 0, 'generale', 'entity.name.section'],
  [TRAIN_SOURCE, 1, 'numero vetture', 'keyword.other.record'],
  [TRAIN_SOURCE, 1, '3', 'constant.numeric'],
];

const MARKED = ['keyword.', 'comment.', 'string.'];

async function loadGrammar() {
  const wasm = fs.readFileSync(require.resolve('vscode-oniguruma/release/onig.wasm'));
  await oniguruma.loadWASM(wasm.buffer.slice(wasm.byteOffset, wasm.byteOffset + wasm.byteLength));
  const registry = new textmate.Registry({
    onigLib: Promise.resolve({
      createOnigScanner: (patterns) => new oniguruma.OnigScanner(patterns),
      createOnigString: (text) => new oniguruma.OnigString(text),
    }),
    loadGrammar: async () => textmate.parseRawGrammar(fs.readFileSync(grammarPath, 'utf8'), grammarPath),
  });
  return registry.loadGrammar('source.scenario-source');
}

function tokenize(grammar, lines) {
  let stack = textmate.INITIAL;
  return lines.map((line) => {
    const result = grammar.tokenizeLine(line, stack);
    stack = result.ruleStack;
    return result.tokens;
  });
}

// Every token of the field's text must carry the scope (or none of MARKED).
function checkField(tokens, line, lineNo, field, scope) {
  const start = line.indexOf(field);
  assert.notEqual(start, -1, `line ${lineNo} holds no "${field}"`);
  const end = start + field.length;
  for (const token of tokens.filter((t) => t.startIndex < end && t.endIndex > start)) {
    const scopes = token.scopes.join(' ');
    const text = line.slice(token.startIndex, token.endIndex);
    if (scope === null) {
      assert.ok(!MARKED.some((m) => scopes.includes(m)), `line ${lineNo} "${text}": ${scopes}`);
    } else {
      assert.ok(scopes.includes(scope), `line ${lineNo} "${text}": ${scopes}, not ${scope}`);
    }
  }
}

// [printed line, matcher name, the fields it must give, or null: no match]
const MATCHER_CASES = [
  ['routes/A_47302-.txt:12:22: error: speed limit -100 km/h does not fit a cell [E25]', 'scenario-check',
    { file: 'routes/A_47302-.txt', line: '12', column: '22', severity: 'error', message: 'speed limit -100 km/h does not fit a cell', code: 'E25' }],
  ['C:\\routes\\A_47302-.txt:61:1: warning: no record begins with "segnlae": the line is skipped [unknown-record]', 'scenario-check',
    { file: 'C:\\routes\\A_47302-.txt', line: '61', column: '1', severity: 'warning', message: 'no record begins with "segnlae": the line is skipped', code: 'unknown-record' }],
  ['routes/A_47302-.txt:56:49: note: the signal at 10500 m', 'scenario-check', null],
  ['routes/A_linea.txt: error: no [generale] in the line source [E102]', 'scenario-check', null],
  ['routes/A_linea.txt: error: no [generale] in the line source [E102]', 'scenario-check-file',
    { file: 'routes/A_linea.txt', severity: 'error', message: 'no [generale] in the line source', code: 'E102' }],
  ['routes/A_47302-.txt:12:22: error: speed limit -100 km/h [E25]', 'scenario-check-file', null],
  ['2 errors, 1 warning', 'scenario-check', null],
];

function checkMatcher(text, name, expected) {
  const matcher = manifest.contributes.problemMatchers.find((m) => m.name === name);
  const { regexp, ...groups } = matcher.pattern;
  const match = new RegExp(regexp).exec(text);
  if (expected === null) {
    assert.equal(match, null, `${name} matches "${text}"`);
    return;
  }
  assert.ok(match, `${name} does not match "${text}"`);
  for (const [field, value] of Object.entries(expected)) {
    assert.equal(match[groups[field]], value, `${name} on "${text}": ${field}`);
  }
}

async function main() {
  const grammar = await loadGrammar();
  const tokens = new Map([LINE_SOURCE, TRAIN_SOURCE].map((source) => [source, tokenize(grammar, source)]));
  for (const [source, lineNo, field, scope] of CASES) {
    checkField(tokens.get(source)[lineNo], source[lineNo], lineNo, field, scope);
  }
  for (const [text, name, expected] of MATCHER_CASES) {
    checkMatcher(text, name, expected);
  }
  console.log("grammar and problem matchers: as expected");
}

main().catch((err) => {
  console.error(err.message);
  process.exit(1);
});
