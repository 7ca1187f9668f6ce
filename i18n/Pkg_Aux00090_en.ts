<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>ControleSenhOper</name>
    <message>
        <source>O garçom não foi informado: a senha do operador não pode ser conferida.</source>
        <translation>No waiter was given: the operator password cannot be checked.</translation>
    </message>
    <message>
        <source>Leitura do operador do garçom</source>
        <translation>Reading the waiter&apos;s operator</translation>
    </message>
    <message>
        <source>O garçom %1 não está cadastrado.</source>
        <translation>Waiter %1 is not registered.</translation>
    </message>
    <message>
        <source>O garçom %1 não tem operador associado.</source>
        <translation>Waiter %1 has no linked operator.</translation>
    </message>
    <message>
        <source>O operador %1 do garçom %2 não está cadastrado.</source>
        <translation>Operator %1 of waiter %2 is not registered.</translation>
    </message>
    <message>
        <source>O operador %1 - %2 está inativo.</source>
        <translation>Operator %1 - %2 is inactive.</translation>
    </message>
    <message>
        <source>O operador %1 - %2 não tem senha cadastrada.</source>
        <translation>Operator %1 - %2 has no password.</translation>
    </message>
    <message>
        <source>%1 (operador %2 - %3)</source>
        <translation>%1 (operator %2 - %3)</translation>
    </message>
    <message>
        <source>Senha do Operador</source>
        <translation>Operator password</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Confirmar</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>Digite a senha.</source>
        <translation>Type the password.</translation>
    </message>
    <message>
        <source>Senha incorreta. As %1 tentativas se esgotaram.</source>
        <translation>Wrong password. All %1 tries are used up.</translation>
    </message>
    <message>
        <source>Senha incorreta. Tentativa %1 de %2.</source>
        <translation>Wrong password. Try %1 of %2.</translation>
    </message>
    <message>
        <source>A senha cadastrada do operador está num formato desconhecido.</source>
        <translation>The operator&apos;s stored password is in an unknown format.</translation>
    </message>
</context>
<context>
    <name>CriaCadConsumidor</name>
    <message>
        <source>Cadastro de Consumidor</source>
        <translation>Guest registration</translation>
    </message>
    <message>
        <source>Selecione o cliente</source>
        <translation>Choose the client</translation>
    </message>
    <message>
        <source>Cliente</source>
        <translation>Client</translation>
    </message>
    <message>
        <source>Código</source>
        <translation>Code</translation>
    </message>
    <message>
        <source>Nome</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Crachá</source>
        <translation>Badge</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Salvar</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Leitura dos clientes</source>
        <translation>Reading the clients</translation>
    </message>
    <message>
        <source>Leitura do consumidor</source>
        <translation>Reading the guest</translation>
    </message>
    <message>
        <source>Alterar Consumidor</source>
        <translation>Edit guest</translation>
    </message>
    <message>
        <source>Selecione o cliente do consumidor.</source>
        <translation>Choose the guest&apos;s client.</translation>
    </message>
    <message>
        <source>Informe o código do consumidor.</source>
        <translation>Enter the guest code.</translation>
    </message>
    <message>
        <source>Informe o nome do consumidor.</source>
        <translation>Enter the guest name.</translation>
    </message>
    <message>
        <source>O CPF deve ter %1 dígitos.</source>
        <translation>The CPF must have %1 digits.</translation>
    </message>
    <message>
        <source>Gravação do consumidor</source>
        <translation>Saving the guest</translation>
    </message>
    <message>
        <source>O consumidor %1 não existe mais no cliente %2.</source>
        <translation>Guest %1 no longer exists under client %2.</translation>
    </message>
    <message>
        <source>Já existe o consumidor %1 no cliente %2. Informe outro código.</source>
        <translation>Guest %1 already exists under client %2. Enter another code.</translation>
    </message>
</context>
<context>
    <name>PesqConsumidor</name>
    <message>
        <source>Pesquisa de Consumidor</source>
        <translation>Guest search</translation>
    </message>
    <message>
        <source>Nome, código, crachá ou CPF</source>
        <translation>Name, code, badge or CPF</translation>
    </message>
    <message>
        <source>Buscar</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>Digite o que procura e toque em Buscar.</source>
        <translation>Type what you look for and tap Search.</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Selecionar</source>
        <translation>Select</translation>
    </message>
    <message>
        <source>Informe o nome, o código, o crachá ou o CPF do consumidor.</source>
        <translation>Enter the guest&apos;s name, code, badge or CPF.</translation>
    </message>
    <message>
        <source>Pesquisa de consumidores</source>
        <translation>Guest search</translation>
    </message>
    <message>
        <source>Código</source>
        <translation>Code</translation>
    </message>
    <message>
        <source>Nome</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Crachá</source>
        <translation>Badge</translation>
    </message>
    <message>
        <source>CPF</source>
        <translation>CPF</translation>
    </message>
    <message>
        <source>Cliente</source>
        <translation>Client</translation>
    </message>
    <message>
        <source>Nenhum consumidor encontrado.</source>
        <translation>No guest found.</translation>
    </message>
    <message>
        <source>1 consumidor encontrado.</source>
        <translation>1 guest found.</translation>
    </message>
    <message>
        <source>%1 consumidores encontrados.</source>
        <translation>%1 guests found.</translation>
    </message>
    <message>
        <source>Escolha um consumidor da lista.</source>
        <translation>Choose a guest from the list.</translation>
    </message>
    <message>
        <source>Busque o consumidor primeiro.</source>
        <translation>Search for the guest first.</translation>
    </message>
</context>
<context>
    <name>Pesquisa</name>
    <message>
        <source>Pesquisa</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>Filtrar:</source>
        <translation>Filter:</translation>
    </message>
    <message>
        <source>Digite parte de qualquer coluna</source>
        <translation>Type part of any column</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Selecionar</source>
        <translation>Select</translation>
    </message>
    <message>
        <source>Nenhum registro encontrado.</source>
        <translation>No record found.</translation>
    </message>
    <message>
        <source>1 registro</source>
        <translation>1 record</translation>
    </message>
    <message>
        <source>%1 registros</source>
        <translation>%1 records</translation>
    </message>
    <message>
        <source>Escolha um registro da lista.</source>
        <translation>Choose a record from the list.</translation>
    </message>
    <message>
        <source>O registro escolhido não pôde ser posicionado.</source>
        <translation>The chosen record could not be found again.</translation>
    </message>
</context>
<context>
    <name>Pkg_Aux00090</name>
    <message>
        <source>Conexão com o banco de dados</source>
        <translation>Connecting to the database</translation>
    </message>
    <message>
        <source>O parâmetro %1 não recebeu valor.</source>
        <translation>Parameter %1 got no value.</translation>
    </message>
</context>
<context>
    <name>RelFiscais</name>
    <message>
        <source>Relatórios Fiscais</source>
        <translation>Fiscal reports</translation>
    </message>
    <message>
        <source>Leitura X</source>
        <translation>X report</translation>
    </message>
    <message>
        <source>Redução Z</source>
        <translation>Z report</translation>
    </message>
    <message>
        <source>Leitura da Memória Fiscal</source>
        <translation>Fiscal memory report</translation>
    </message>
    <message>
        <source>%1: a impressora fiscal deste terminal é simulada; nenhum relatório foi emitido.</source>
        <translation>%1: this terminal&apos;s fiscal printer is simulated; no report was printed.</translation>
    </message>
    <message>
        <source>Fechar</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>TecladoNumerico</name>
    <message>
        <source>Teclado</source>
        <translation>Keypad</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Confirmar</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>Informe o código.</source>
        <translation>Enter the code.</translation>
    </message>
</context>
<context>
    <name>TouchDialog</name>
    <message>
        <source>Erro inesperado.</source>
        <translation>Unexpected error.</translation>
    </message>
    <message>
        <source>A janela não pode ser aberta: o programa não tem interface gráfica.</source>
        <translation>The window cannot be opened: the program has no graphical interface.</translation>
    </message>
    <message>
        <source>Limpar</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>Apagar</source>
        <translation>Erase</translation>
    </message>
</context>
</TS>
