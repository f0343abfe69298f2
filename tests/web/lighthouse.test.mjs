// The page as the public audit tool sees it on a phone: accessibility, best practices and search
// engines at full marks, with the audits that fall short named. Performance is measured, not
// tested: it depends on the machine.
import assert from 'node:assert/strict'
import { execFile } from 'node:child_process'
import { test } from 'node:test'
import { fileURLToPath } from 'node:url'
import { promisify } from 'node:util'

const raiz = fileURLToPath(new URL('../..', import.meta.url))
const { servir } = await import(`${raiz}web/servir.mjs`)
const PAGINA = process.env.QV_WEB ?? `${raiz}build/web`
const CATEGORIAS = ['accessibility', 'best-practices', 'seo']

test('accessibility, best practices and SEO score 100', async () => {
  const servidor = await servir(PAGINA, 0)
  try {
    const { stdout } = await promisify(execFile)(
      process.execPath,
      [
        `${raiz}web/node_modules/lighthouse/cli/index.js`,
        `http://localhost:${servidor.address().port}/`,
        `--only-categories=${CATEGORIAS.join(',')}`,
        '--output=json',
        '--quiet',
        '--chrome-flags=--headless=new --no-sandbox --disable-gpu --disable-dev-shm-usage ' +
          '--disable-background-networking --disable-component-update --disable-sync --no-first-run',
      ],
      { env: { ...process.env, CHROME_PATH: process.env.QV_CHROMIUM ?? '/usr/bin/chromium' }, maxBuffer: 64 << 20, timeout: 180_000 },
    )
    const informe = JSON.parse(stdout)
    for (const categoria of CATEGORIAS) {
      const fallos = informe.categories[categoria].auditRefs
        .map((ref) => informe.audits[ref.id])
        .filter((a) => a.score !== null && a.score < 1 && a.scoreDisplayMode === 'binary')
        .map((a) => `${a.id}: ${a.title}`)
      assert.equal(informe.categories[categoria].score, 1, `${categoria}: ${fallos.join('; ')}`)
    }
  } finally {
    servidor.close()
  }
})
