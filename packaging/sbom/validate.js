// Checks each named CycloneDX 1.5 JSON document against the published schema, strictly (no
// properties the schema does not define), and prints each one's verdict with what is wrong.
// The schema takes any text as a licence expression, so the expressions, which are written by
// hand in the notices' headings, are parsed against the SPDX licence list here. It also lets an
// advisory stand unanswered, which a release may not: each must be resolved, or not affecting
// the program for a stated reason, name where it was published, and affect a listed component
// in versions given as its record gives them (a version, or a vers range, with a status).
'use strict'

const fs = require('fs')
const parseSpdx = require('spdx-expression-parse')
const { Validation } = require('@cyclonedx/cyclonedx-library')

// The library names the format's versions by their numbers.
const VERSION = '1.5'

function licenceProblems (node, path, problems) {
  if (Array.isArray(node)) {
    node.forEach((item, i) => licenceProblems(item, `${path}/${i}`, problems))
  } else if (node !== null && typeof node === 'object') {
    for (const [key, value] of Object.entries(node)) {
      if (key === 'expression' && typeof value === 'string') {
        try {
          parseSpdx(value)
        } catch (error) {
          problems.push(`at "${path}/expression": not an SPDX expression: ${value} (${error.message})`)
        }
      } else {
        licenceProblems(value, `${path}/${key}`, problems)
      }
    }
  }
  return problems
}

// The reasons scripts/make-sbom gives, each checked there against the link map: the code is not
// linked, linked but not reachable, or reached with what the flaw needs kept out.
const JUSTIFICATIONS = ['code_not_present', 'code_not_reachable', 'protected_by_mitigating_control']

function advisoryProblems (document) {
  const refs = new Set()
  const collect = (components) => (components || []).forEach((c) => {
    refs.add(c['bom-ref'])
    collect(c.components)
  })
  collect(document.components)
  const problems = []
  for (const [i, advisory] of (document.vulnerabilities || []).entries()) {
    const at = `at "/vulnerabilities/${i}" (${advisory.id})`
    const { state, justification, detail } = advisory.analysis || {}
    if (state !== 'resolved' && !(state === 'not_affected' && JUSTIFICATIONS.includes(justification))) {
      problems.push(`${at}: unanswered: analysis ${state} ${justification || ''}`)
    }
    if (!detail) problems.push(`${at}: the analysis says nothing of why`)
    if (!advisory.source || !advisory.source.url) problems.push(`${at}: names no source`)
    for (const affected of advisory.affects || []) {
      if (!refs.has(affected.ref)) problems.push(`${at}: affects ${affected.ref}, no component here`)
      if (!affected.versions || affected.versions.length === 0) {
        problems.push(`${at}: says not which versions of ${affected.ref} are affected`)
      }
      for (const version of affected.versions || []) {
        if (version.range !== undefined && !version.range.startsWith('vers:')) {
          problems.push(`${at}: range ${version.range} is not in the vers syntax`)
        }
      }
    }
    if (!advisory.affects || advisory.affects.length === 0) problems.push(`${at}: affects nothing`)
  }
  return problems
}

async function problemsOf (file, validator) {
  let text
  try {
    text = fs.readFileSync(file, 'utf8')
    const errors = await validator.validate(text)
    if (errors !== null) {
      return errors.map((error) => {
        // The list of every SPDX identifier would bury the message it explains.
        const { allowedValues, ...params } = error.params || {}
        const detail = Object.keys(params).length > 0 ? ` ${JSON.stringify(params)}` : ''
        return `at "${error.instancePath}": ${error.message}${detail}`
      })
    }
  } catch (error) {
    return [error.message]
  }
  const document = JSON.parse(text)
  return licenceProblems(document, '', []).concat(advisoryProblems(document))
}

async function main (files) {
  const validator = new Validation.JsonStrictValidator(VERSION)
  let failed = 0
  for (const file of files) {
    const problems = await problemsOf(file, validator)
    if (problems.length === 0) {
      console.log(`${file}: valid CycloneDX ${VERSION}`)
    } else {
      failed += 1
      console.log(`${file}: NOT valid CycloneDX ${VERSION}`)
      for (const problem of problems) console.log(`  ${problem}`)
    }
  }
  return failed === 0 ? 0 : 1
}

main(process.argv.slice(2)).then((status) => { process.exitCode = status })
